# Layers are kept apart by the include path, not only by review.
#
# Every #include of the project names its layer ("core/...", "app/...", "gui/..."). Each
# library gets an include root of its own in the build tree that holds one link, named
# after its layer, to that layer's folder, and nothing else; src/ itself is on no include
# path. A library sees its own root and, through its link dependencies, the roots of the
# layers below it. So a core file that includes "app/..." or any Qt header, or an app file
# that includes "gui/..." or a widget header, does not compile. scripts/check-layers greps
# for the same rules as a second guard.

set(DUPLORA_LAYER_ROOTS "${PROJECT_BINARY_DIR}/layers")

# duplora_layer_root(<target> <layer>): makes ${DUPLORA_LAYER_ROOTS}/<layer>/<layer> a link
# to src/<layer> and gives <target> that root as its public include folder. A layer's
# resources (res/<layer>) are seen the same way, as "res/<layer>/...".
function(duplora_layer_root target layer)
  set(root "${DUPLORA_LAYER_ROOTS}/${layer}")
  file(MAKE_DIRECTORY "${root}")
  file(CREATE_LINK "${PROJECT_SOURCE_DIR}/src/${layer}" "${root}/${layer}" SYMBOLIC)
  if(IS_DIRECTORY "${PROJECT_SOURCE_DIR}/res/${layer}")
    file(MAKE_DIRECTORY "${root}/res")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/res/${layer}" "${root}/res/${layer}" SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC "${root}")
endfunction()

# duplora_qt_target(<target>): moc and rcc run only for targets that use Qt. Turned on for
# every target, automatic moc would also put its output folder on the core's include path
# and scan the core's headers.
function(duplora_qt_target target)
  set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
endfunction()

# duplora_no_widgets(<target>): for targets below the gui layer (the app library, the
# converter, the app tests). Qt's headers all sit below one shared folder that Qt6::Core
# puts on the include path, so <QtWidgets/QWidget> would still be found by a target that
# links only QtCore and QtGui. This puts ahead of Qt's folders one that holds, for every
# header of the widget modules, a header that stops the compilation.
set(DUPLORA_NO_WIDGETS_ROOT "${DUPLORA_LAYER_ROOTS}/no-widgets")
function(duplora_no_widgets target)
  target_include_directories(${target} BEFORE PRIVATE "${DUPLORA_NO_WIDGETS_ROOT}")
endfunction()

if(TARGET Qt6::Widgets)
  get_target_property(qt_widgets_dirs Qt6::Widgets INTERFACE_INCLUDE_DIRECTORIES)
  list(FILTER qt_widgets_dirs INCLUDE REGEX "/QtWidgets$")
  list(GET qt_widgets_dirs 0 qt_widgets_dir)
  get_filename_component(qt_headers_root "${qt_widgets_dir}" DIRECTORY)
  foreach(module QtWidgets QtOpenGLWidgets QtPrintSupport)
    file(GLOB headers LIST_DIRECTORIES false RELATIVE "${qt_headers_root}/${module}"
         "${qt_headers_root}/${module}/*")
    foreach(header IN LISTS headers)
      set(stub "${DUPLORA_NO_WIDGETS_ROOT}/${module}/${header}")
      if(NOT EXISTS "${stub}")
        file(WRITE "${stub}" "#error \"${module}/${header}: widgets belong to the gui layer\"\n")
      endif()
    endforeach()
  endforeach()
endif()

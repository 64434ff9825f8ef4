// The main window: menus, toolbar and status bar built from the command table, the view, and
// ExecuteCommand — the one place every menu item, shortcut, toolbar button, click, drop and
// the program's own follow-up requests end in.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/shell/commands.h"
#include "app/shell/folder_browse.h"
#include "app/shell/open_rules.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "app/shell/stereo_document.h"
#include "app/stereo/display_texts.h"
#include "core/formats/codec_options.h"
#include "core/shell/command_ids.h"
#include "core/stereo/display_composer.h"
#include "core/util/progress.h"
#include "gui/shell/command_registry.h"
#include "gui/shell/file_commands.h"
#include "gui/shell/window_services.h"

class QAction;
class QKeyEvent;
class QLabel;
class QProgressBar;
class QPushButton;
class QMenu;
class QToolBar;

namespace duplora {

class ConversionCommands;
class DialogHost;
class ListCommands;
class NavigatorWindow;
class PageFlipping;
class OutputCommands;
class PluginTable;
class TrimCommands;
class ViewWidget;
struct OpenDialogSetup;
struct OpenedViews;
enum class OpenDialogKind;

struct StartOptions {
    CommandLinePaths commandLine;
};

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // The settings are read from `store` once; the window writes back to it. Every question
    // and dialog goes through `host`.
    MainWindow(SettingsStore& store, DialogHost& host, const StartOptions& options,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Carries out one command; ids that are not commands, and commands whose guard does not
    // allow them now, are ignored.
    void ExecuteCommand(CommandId command);
    // The same, once the event loop runs again.
    void PostCommand(CommandId command);
    // Whether anything carries out `command` (its guard aside).
    bool HasHandler(CommandId command) const { return commands_.Has(command); }
    const CommandRegistry& Commands() const { return commands_; }
    // Whether the guard of `command` lets it act now.
    bool CommandActs(CommandId command) const;

    // The progress the window's long work (opening, saving, resizing) reports to, shown in
    // the first part of the status bar and as a bar with "Abbrechen" beside it; handed out
    // with its stop flag cleared. Report on this thread only.
    const Progress& WorkProgress();
    // Asks the work in progress to stop: it gives up at its next row band or chunk and
    // leaves the pair and the files as they were.
    void StopWork() { stopWork_ = true; }

    // True while long work on this thread shows its bar.
    bool Working() const { return working_; }

    // ---- state, for the program's own tools and its tests ------------------------------------
    StereoDocument& Document() { return document_; }
    const DisplayComposer& Composer() const { return composer_; }
    ViewWidget* View() const { return view_; }
    NavigatorWindow* Navigator() const { return navigator_; }
    const Settings& CurrentSettings() const { return settings_; }
    MainMenu LoadedMenu() const { return loadedMenu_; }
    QString StatusText(int part) const;
    // The toolbar button of a command (null for commands without one).
    QAction* ToolbarAction(CommandId command) const;
    // The menu a drop-down button opens.
    QMenu* ToolbarDropDown(CommandId command) const;
    // The right-button menu as it would open now; null when there is none. The caller owns it.
    QMenu* BuildContextMenu();
    int FitModeNow() const { return fitMode_; }
    bool SlideShowRunning() const { return slideShowRunning_; }
    bool FullScreen() const { return fullScreen_; }
    const FolderList& Folder() const { return folder_; }
    PageFlipping* Flipping() const { return flip_.get(); }
    ListCommands* Lists() const { return lists_.get(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    enum class OpenSource { Dialog, CommandLine, Pending, History, Browse, List };

    // ---- commands ----------------------------------------------------------------------------
    void RegisterCommands();          // the document, the view and the program
    void RegisterFileCommands();      // opening, saving, clipboard (main_window_files.cpp)
    void RegisterSettingsCommands();  // the settings dialogs (main_window_settings.cpp)
    void RegisterOutputCommands();    // printing, HTML page, phone picture (main_window_output.cpp)
    void RegisterListCommands();      // slide-show lists, rename, mosaic (main_window_lists.cpp)
    void RegisterConversionCommands();  // batch conversion (main_window_batch.cpp)
    CommandContext Context() const;
    // What every command group's context starts from.
    WindowServices Services();
    // An Alt+letter accelerator of `event`, which wins over the menu bar's mnemonics.
    std::optional<CommandId> AltAccelerator(const QKeyEvent& event) const;
    // The core's messages and questions, shown by the host on the GUI thread.
    TitleFacts Facts() const;

    // ---- surfaces ---------------------------------------------------------------------------
    void CreateShortcuts();
    void CreateToolbar();
    void ShowWork(int percent);
    void EndWorkWhenIdle();
    bool HoldDuringWork(QObject* watched, QEvent* event);
    void RestoreWindowPlace();
    void CreateStatusBar();
    void LoadMenu(MainMenu menu);
    void FillMenu(QMenu* menu, MenuId id);
    void UpdateMenu(QMenu* menu);
    void UpdateHistoryItems(QMenu* menu);
    void ApplyToolbarSet(ToolbarSet set);
    void UpdateUndoRedoButtons(bool undo, bool redo);

    // ---- display ----------------------------------------------------------------------------
    CompositionInput Input() const;
    void Recompose(DisplayChange change = DisplayChange::Pictures);
    void ShowTexts();
    void Zoom(CommandId command);
    void RefitAfterResize();

    // ---- opening ----------------------------------------------------------------------------
    // Before the pair is replaced: asks whether to save a modified one. False when the user
    // cancelled or the save did not happen.
    bool MayReplacePair();
    void OpenCommandLine(const CommandLinePaths& paths);
    void OpenStereoDialog();
    void OpenLeftRightDialog();
    void OpenSingleDialog();
    void OpenFromHistory(CommandId item);
    bool OpenStereo(const std::string& path, StereoLayout layout, OpenSource source);
    bool OpenPair(const std::string& left, const std::string& right, OpenSource source);
    bool TakeOpened(OpenedViews views, OpenedKind kind, StereoLayout layout, OpenSource source);
    void Browse(CommandId command);
    void Paste();
    void Copy();
    // How pictures are read now: the LZW switch and the plug-ins (loaded on first use).
    CodecOptions Codec();
    OpenDialogSetup OpenSetup(OpenDialogKind kind, int title, const std::string& folder);
    void RememberOpenOptions(bool showPreview, bool fitSize);

    // ---- saving (main_window_files.cpp) ------------------------------------------------------
    bool SaveStereoCommand();
    void SaveLeftRightCommand();

    // ---- other commands ---------------------------------------------------------------------
    void Rotate(CommandId command);
    void ToggleFullScreen(CommandId command);
    void ToggleBorder();
    void ToggleNavigator();
    void FollowNavigatorSetting();
    void TogglePanorama();
    void ToggleSlideShow();
    void SlideShowTick();
    void ExternalProgram();
    void Help();

    SettingsStore& store_;
    DialogHost& host_;
    CommandRegistry commands_;
    std::string programFolder_;
    Settings settings_;
    StereoDocument document_;
    DisplayComposer composer_;

    ViewWidget* view_ = nullptr;
    NavigatorWindow* navigator_ = nullptr;
    std::unique_ptr<TrimCommands> trims_;  // trims and resizing
    std::unique_ptr<PageFlipping> flip_;   // the page-flipping outputs
    std::unique_ptr<OutputCommands> outputs_;
    std::unique_ptr<ListCommands> lists_;  // slide-show lists and their show
    QToolBar* toolbar_ = nullptr;
    std::array<QLabel*, 3> status_{};
    std::map<int, QAction*> toolbarActions_;
    std::map<int, CommandId> altAccelerators_;  // Qt key (letter) → command
    std::map<int, QMenu*> dropDowns_;
    MainMenu loadedMenu_ = MainMenu::Start;
    ToolbarSet toolbarSet_ = ToolbarSet::Start;

    // The opening asked for without a dialog (command line, drop, history).
    std::string pendingPath_;
    std::string pendingLeftPath_;
    bool commandLineStart_ = false;
    bool fromHistory_ = false;
    StereoLayout stereoLayout_ = StereoLayout::SideBySide;
    std::string rightFolder_;  // where the last right view came from
    std::shared_ptr<PluginTable> plugins_;
    SaveMemory saveMemory_;

    int fitMode_ = 0;
    bool fullScreen_ = false;
    bool wasMaximized_ = false;
    FolderList folder_;
    BrowseKind browseKind_ = BrowseKind::StereoFile;
    bool slideShowRunning_ = false;
    QTimer slideTimer_;

    // The title and status texts of the last composition.
    DisplayTexts texts_;
    // Reading and writing report in the first part of the status bar; setting the flag
    // stops the work in progress.
    std::atomic<bool> stopWork_{false};
    Progress progress_;
    // Long work on this thread: shown (the bar, the stop button) and inside a progress
    // report that lets events through.
    bool working_ = false;
    bool reportingWork_ = false;
    QElapsedTimer sinceEvents_;
    QProgressBar* workBar_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    // Batch conversion; after the plug-ins, so that a run still going ends before they go.
    std::unique_ptr<ConversionCommands> conversions_;
};

}  // namespace duplora

#include "gui/shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <utility>

#include "app/image/qimage_bridge.h"
#include "app/shell/file_history.h"
#include "app/shell/help_page.h"
#include "app/shell/install_paths.h"
#include "app/shell/menu_rules.h"
#include "app/shell/open_failure.h"
#include "app/shell/path_names.h"
#include "app/stereo/full_screen.h"
#include "app/stereo/view_layout.h"
#include "app/stereo/zoom.h"
#include "core/formats/bmp_codec.h"
#include "core/formats/stereo_open.h"
#include "core/image/geometry.h"
#include "core/image/rotate.h"
#include "core/image/split.h"
#include "core/stereo/anaglyph_methods.h"
#include "core/strings.h"
#include "gui/align/align_commands.h"
#include "gui/batch/conversion_commands.h"
#include "gui/edit/frame_das_commands.h"
#include "gui/edit/picture_edit_commands.h"
#include "gui/flip/page_flipping.h"
#include "gui/lists/list_commands.h"
#include "gui/output/output_commands.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/open_pair.h"
#include "gui/shell/toolbar_icons.h"
#include "gui/shell/trim_commands.h"
#include "gui/shell/ui_text.h"
#include "gui/stereo/auto_scroller.h"
#include "gui/stereo/navigator_window.h"
#include "gui/stereo/view_widget.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

// The shortcut as the menus show it, in German.
QString KeyText(std::string_view key) {
    QString text = Q(key);
    text.replace(QStringLiteral("Ctrl+"), Tr("Strg+"));
    text.replace(QStringLiteral("Shift+"), Tr("Umschalt+"));
    return text;
}

bool IsCheckItem(CommandId command) {
    return command == CmdPanorama || AnaglyphMethodByCommand(command);
}

// Commands that keep a running slide show going: its own steps and what an opening sends.
bool KeepsSlideShow(int command) {
    switch (command) {
        case CmdNextImage:
        case CmdSlideShow:
        case CmdRefreshStatus:
        case CmdOpenPending:
        case CmdOpenPendingPair:
        case CmdZoom100:
        case CmdFitWindow:
        case CmdFitHeight:
        case CmdFitHeightSecondPass:
        case CmdFitWidth:
        case CmdFitWidthSecondPass:
            return true;
        default:
            return false;
    }
}

// The room a pane gets in the mode before it is cut to its picture's size. Fitting into it
// makes the picture fit its pane exactly; the view's half, which counts the frame once
// instead of twice, would leave a fitted side-by-side picture a frame's width too wide.
QSize PaneRoom(DisplayMode mode, QSize client, int frame) {
    const QSize share = PaneShare(mode, client);
    return {share.width() - 2 * frame, share.height() - 2 * frame};
}

}  // namespace

MainWindow::MainWindow(SettingsStore& store, DialogHost& host, const StartOptions& options,
                       QWidget* parent)
    : QMainWindow(parent),
      store_(store),
      host_(host),
      programFolder_(QCoreApplication::applicationDirPath().toStdString()),
      settings_(ReadAllSettings(store, DefaultPluginFolder(programFolder_))) {
    setObjectName(QStringLiteral("DUPLORA"));
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    document_.ApplySettings(settings_);

    view_ = new ViewWidget(document_, composer_, settings_, this);
    setCentralWidget(view_);
    connect(view_, &ViewWidget::CommandRequested, this,
            [this](CommandId command) { ExecuteCommand(command); });
    trims_ = std::make_unique<TrimCommands>(this, host_, document_, *view_, settings_, store_,
                                            progress_);
    connect(view_, &ViewWidget::SelectionStatus, this, [this](const QString& text) {
        if (text.isEmpty())
            ShowTexts();
        else
            status_[0]->setText(text);
    });

    PageFlipping::Links flipLinks;
    flipLinks.mainWindow = this;
    flipLinks.host = &host_;
    flipLinks.document = &document_;
    flipLinks.input = [this] { return Input(); };
    flipLinks.settings = &settings_;
    flipLinks.execute = [this](CommandId command) { ExecuteCommand(command); };
    flipLinks.slideShowRunning = [this] { return slideShowRunning_; };
    flipLinks.recompose = [this] {
        Recompose();
        view_->Relayout();
    };
    flipLinks.refit = [this] { RefitAfterResize(); };
    flip_ = std::make_unique<PageFlipping>(std::move(flipLinks));

    navigator_ = new NavigatorWindow(document_, composer_, *view_, this);
    navigator_->hide();
    connect(navigator_, &NavigatorWindow::CloseRequested, this,
            [this] { ExecuteCommand(CmdNavigator); });
    connect(view_, &ViewWidget::LaidOut, this, &MainWindow::FollowNavigatorSetting);
    connect(view_, &ViewWidget::Scrolled, navigator_, qOverload<>(&QWidget::update));

    connect(&document_, &StereoDocument::DisplayChanged, this,
            [this](DisplayChange change) { Recompose(change); });
    connect(&document_, &StereoDocument::ViewLayoutChanged, view_, &ViewWidget::Relayout);
    connect(&document_, &StereoDocument::UndoRedoStateChanged, this,
            &MainWindow::UpdateUndoRedoButtons);

    slideTimer_.setSingleShot(false);
    connect(&slideTimer_, &QTimer::timeout, this, &MainWindow::SlideShowTick);

    RegisterCommands();
    RegisterFileCommands();
    RegisterSettingsCommands();
    RegisterOutputCommands();
    RegisterListCommands();
    RegisterConversionCommands();
    CreateStatusBar();
    CreateToolbar();
    CreateShortcuts();
    LoadMenu(MainMenu::Start);
    ApplyToolbarSet(ToolbarSet::Start);
    ShowTexts();
    resize(1000, 700);
    RestoreWindowPlace();
    // Reading and writing pictures report their progress in the first part of the status bar
    // ("lese... 40 %"); the composed texts replace it when the work is done.
    progress_ = Progress(
        [this](ProgressDirection direction, int percent) {
            const int text = direction == ProgressDirection::Reading ? StringId::ProgressReading
                                                                     : StringId::ProgressWriting;
            // Work on other threads reports through its own relay; only this thread draws.
            if (QThread::currentThread() != thread()) return;
            status_[0]->setText(Q(FormatResString(text, percent)));
            ShowWork(percent);
        },
        &stopWork_);
    qApp->installEventFilter(this);

    OpenCommandLine(options.commandLine);  // nothing when it names nothing readable
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
}

const Progress& MainWindow::WorkProgress() {
    stopWork_ = false;
    return progress_;
}

// ---- surfaces -----------------------------------------------------------------------------

void MainWindow::CreateShortcuts() {
    for (const CommandEntry& entry : CommandTable()) {
        QList<QKeySequence> keys;
        for (std::string_view key : entry.keys)
            if (!key.empty()) keys.push_back(QKeySequence(Q(key), QKeySequence::PortableText));
        if (keys.isEmpty()) continue;
        for (const QKeySequence& key : keys) {
            const QKeyCombination combination = key[0];
            if (combination.keyboardModifiers() == Qt::AltModifier &&
                combination.key() >= Qt::Key_A && combination.key() <= Qt::Key_Z)
                altAccelerators_[combination.key()] = entry.id;
        }
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("key%1").arg(entry.id));
        action->setEnabled(!NotYetBuilt(entry.id));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        const CommandId command = entry.id;
        connect(action, &QAction::triggered, this, [this, command] { ExecuteCommand(command); });
        addAction(action);
    }
}

void MainWindow::CreateToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Werkzeugleiste"));
    toolbar_->setObjectName(QStringLiteral("ctl%1").arg(kToolbarControlId));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(kToolbarPictureWidth, kToolbarPictureHeight));
    for (const ToolButton& button : ToolbarButtons()) {
        if (button.style == ToolButtonStyle::Separator) {
            toolbar_->addSeparator();
            continue;
        }
        const CommandId command = button.command;
        const QString tip = Q(ToolTipText(command));
        auto* action = new QAction(ToolbarIcon(button.picture), tip, this);
        action->setObjectName(QStringLiteral("tb%1").arg(command));
        action->setToolTip(tip);
        action->setCheckable(button.style == ToolButtonStyle::Check);
        connect(action, &QAction::triggered, this, [this, command] { ExecuteCommand(command); });
        toolbar_->addAction(action);
        toolbarActions_[command] = action;
        if (button.style == ToolButtonStyle::DropDown) {
            auto* tool = qobject_cast<QToolButton*>(toolbar_->widgetForAction(action));
            auto* menu = new QMenu(this);
            menu->setObjectName(QStringLiteral("drop%1").arg(command));
            if (const MenuDef* def = ToolbarDropDownMenu(command)) FillMenu(menu, def->id);
            if (tool) {
                tool->setMenu(menu);
                tool->setPopupMode(QToolButton::MenuButtonPopup);
                tool->setFocusPolicy(Qt::NoFocus);
            }
            dropDowns_[command] = menu;
        }
    }
    for (QToolButton* tool : toolbar_->findChildren<QToolButton*>())
        tool->setFocusPolicy(Qt::NoFocus);
}

void MainWindow::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("ctl%1").arg(kStatusBarControlId));
    bar->setSizeGripEnabled(true);
    int left = 0;
    for (int i = 0; i < 3; ++i) {
        status_[i] = new QLabel(bar);
        status_[i]->setObjectName(QStringLiteral("status%1").arg(i));
        // Sunken parts with a little room, so that neighbouring texts do not run together.
        status_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        status_[i]->setIndent(4);
        if (i < 2) {
            // The parts keep their places unless a text needs more room.
            status_[i]->setMinimumWidth(kStatusPartEdges[i] - left);
            left = kStatusPartEdges[i];
            bar->addWidget(status_[i]);
        } else {
            bar->addWidget(status_[i], 1);
        }
    }
    // Shown while long work runs on this thread: how far it is, and the way to stop it.
    workBar_ = new QProgressBar(bar);
    workBar_->setObjectName(QStringLiteral("workBar"));
    workBar_->setRange(0, 100);
    workBar_->setMaximumWidth(160);
    workBar_->hide();
    stopButton_ = new QPushButton(QStringLiteral("Abbrechen"), bar);
    stopButton_->setObjectName(QStringLiteral("stopWork"));
    stopButton_->setToolTip(QStringLiteral("Die laufende Arbeit abbrechen (Esc)"));
    stopButton_->setFocusPolicy(Qt::NoFocus);
    stopButton_->hide();
    connect(stopButton_, &QPushButton::clicked, this, &MainWindow::StopWork);
    bar->addPermanentWidget(workBar_);
    bar->addPermanentWidget(stopButton_);
}

// Long work on this thread reports here: the bar and "Abbrechen" show, and now and then the
// window answers the screen and the user meanwhile. Only the stop button and Escape take
// input while the work runs (see eventFilter); everything else waits.
void MainWindow::ShowWork(int percent) {
    // Before the window is shown (a pair from the command line) there is no one to see it.
    if (!isVisible()) return;
    if (!working_) {
        working_ = true;
        sinceEvents_.invalidate();
        workBar_->show();
        stopButton_->setVisible(!document_.EditOpen());
        QTimer::singleShot(0, this, &MainWindow::EndWorkWhenIdle);
    }
    workBar_->setValue(std::clamp(percent, 0, 100));
    status_[0]->repaint();
    workBar_->repaint();
    // An edit of the pair has its pictures set aside until it is done: nothing may look at
    // them meanwhile, so such work shows how far it is but cannot be stopped.
    if (document_.EditOpen()) return;
    if (reportingWork_ || (sinceEvents_.isValid() && sinceEvents_.elapsed() < 50)) return;
    reportingWork_ = true;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    reportingWork_ = false;
    sinceEvents_.start();
}

// Runs from the event loop: outside a progress report that means the work has ended (or waits
// in a dialog of its own, which needs the input).
void MainWindow::EndWorkWhenIdle() {
    if (reportingWork_) {
        QTimer::singleShot(30, this, &MainWindow::EndWorkWhenIdle);
        return;
    }
    working_ = false;
    workBar_->reset();
    workBar_->hide();
    stopButton_->hide();
}

void MainWindow::LoadMenu(MainMenu menu) {
    auto* bar = new QMenuBar(this);
    const MenuId id = menu == MainMenu::Start     ? MenuId::Start
                      : menu == MainMenu::Duplora ? MenuId::Duplora
                                                  : MenuId::DuploraSgl;
    bar->setObjectName(Q(GetMenu(id).name));
    for (const MenuEntry& entry : GetMenu(id).entries) {
        if (entry.kind != MenuEntryKind::Submenu) continue;
        QMenu* popup = bar->addMenu(Q(SubmenuTitle(entry)));
        popup->setObjectName(Q(GetMenu(entry.submenu).name));
        FillMenu(popup, entry.submenu);
    }
    setMenuBar(bar);  // the old menu bar is deleted
    loadedMenu_ = menu;
}

void MainWindow::FillMenu(QMenu* menu, MenuId id) {
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
    for (const MenuEntry& entry : GetMenu(id).entries) {
        switch (entry.kind) {
            case MenuEntryKind::Separator:
                menu->addSeparator();
                break;
            case MenuEntryKind::Submenu: {
                QMenu* sub = menu->addMenu(Q(SubmenuTitle(entry)));
                sub->setObjectName(Q(GetMenu(entry.submenu).name));
                FillMenu(sub, entry.submenu);
                break;
            }
            case MenuEntryKind::HistorySlot: {
                // An invisible mark: the history goes in front of it when the menu opens.
                QAction* mark = menu->addSeparator();
                mark->setVisible(false);
                mark->setObjectName(QStringLiteral("historySlot"));
                break;
            }
            case MenuEntryKind::ContextHead:
            case MenuEntryKind::Item: {
                const CommandId command = entry.command;
                QString text;
                if (entry.kind == MenuEntryKind::ContextHead) {
                    text = Q(ContextHeadText(command, fullScreen_, view_->CursorHidden()));
                } else {
                    text = Q(MenuItemText(entry));
                    const CommandEntry* info = FindCommand(command);
                    if (entry.text.empty() && info && !info->keys[0].empty())
                        text += QLatin1Char('\t') + KeyText(info->keys[0]);
                }
                QAction* action = menu->addAction(text);
                action->setData(static_cast<int>(command));
                // The toolbar's picture of the command, where it has one.
                for (const ToolButton& button : ToolbarButtons())
                    if (button.style != ToolButtonStyle::Separator && button.command == command)
                        action->setIcon(ToolbarIcon(button.picture));
                action->setEnabled(!NotYetBuilt(command));
                action->setCheckable(IsCheckItem(command));
                connect(action, &QAction::triggered, this,
                        [this, command] { ExecuteCommand(command); });
                break;
            }
        }
    }
}

void MainWindow::UpdateMenu(QMenu* menu) {
    MenuUpdateInput input;
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    input.clipboardHasImage = mime && mime->hasImage();
    input.documentMenu = loadedMenu_ != MainMenu::Start;
    const MenuUpdate update = ComputeMenuUpdate(document_, settings_, input);
    for (QAction* action : menu->actions()) {
        if (!action->data().isValid()) continue;
        const int command = action->data().toInt();
        for (const auto& [id, on] : update.enabled)
            if (id == command) action->setEnabled(on);
        for (const auto& [id, on] : update.checked)
            if (id == command) action->setChecked(on);
        for (const auto& [id, text] : update.texts)
            if (id == command) action->setText(Q(text));
        if (NotYetBuilt(static_cast<CommandId>(command))) action->setEnabled(false);
    }
    UpdateHistoryItems(menu);
}

void MainWindow::UpdateHistoryItems(QMenu* menu) {
    QAction* mark = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("historySlot")) mark = action;
        if (action->property("historyItem").toBool()) {
            menu->removeAction(action);
            action->deleteLater();
        }
    }
    if (!mark) return;
    const std::vector<HistoryMenuItem> items = FileHistoryMenuItems(settings_);
    if (items.empty()) return;
    for (const HistoryMenuItem& item : items) {
        auto* action = new QAction(Q(item.text), menu);
        action->setData(static_cast<int>(item.command));
        action->setProperty("historyItem", true);
        const CommandId command = item.command;
        connect(action, &QAction::triggered, this, [this, command] { ExecuteCommand(command); });
        menu->insertAction(mark, action);
    }
    auto* separator = new QAction(menu);
    separator->setSeparator(true);
    separator->setProperty("historyItem", true);
    menu->insertAction(mark, separator);
}

void MainWindow::ApplyToolbarSet(ToolbarSet set) {
    toolbarSet_ = set;
    for (const auto& [command, action] : toolbarActions_)
        action->setEnabled(ToolbarButtonEnabled(set, static_cast<CommandId>(command)) &&
                           !NotYetBuilt(static_cast<CommandId>(command)));
    if (set != ToolbarSet::Start) {
        const UndoRedoEnabled undoRedo = ToolbarUndoRedo(document_);
        UpdateUndoRedoButtons(undoRedo.undo, undoRedo.redo);
    }
}

void MainWindow::UpdateUndoRedoButtons(bool undo, bool redo) {
    if (QAction* a = ToolbarAction(CmdUndo)) a->setEnabled(undo);
    if (QAction* a = ToolbarAction(CmdRedo)) a->setEnabled(redo);
}

QAction* MainWindow::ToolbarAction(CommandId command) const {
    const auto it = toolbarActions_.find(command);
    return it == toolbarActions_.end() ? nullptr : it->second;
}

QMenu* MainWindow::ToolbarDropDown(CommandId command) const {
    const auto it = dropDowns_.find(command);
    return it == dropDowns_.end() ? nullptr : it->second;
}

QString MainWindow::StatusText(int part) const {
    return part >= 0 && part < 3 ? status_[part]->text() : QString();
}

QMenu* MainWindow::BuildContextMenu() {
    if (!ContextMenuAvailable(document_)) return nullptr;
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("context"));
    FillMenu(menu, ContextMenuFor(document_));
    return menu;
}

// ---- display -------------------------------------------------------------------------------

CompositionInput MainWindow::Input() const {
    CompositionInput in;
    in.first = &document_.Left().image;
    in.second = &document_.Right().image;
    in.dx = document_.Dx();
    in.dy = document_.Dy();
    in.zoomPercent = document_.ZoomPercent();
    in.mode = document_.Mode();
    in.greyPair = document_.GreyPair();
    in.colourKind = document_.ColourKind();
    in.leftGamma = settings_.leftGamma;
    in.rightGamma = settings_.rightGamma;
    in.panorama = document_.Panorama();
    return in;
}

TitleFacts MainWindow::Facts() const {
    TitleFacts facts;
    facts.firstName = document_.Left().name;
    facts.secondName = document_.Right().name;
    facts.folderIndex = folder_.index;
    facts.folderCount = folder_.Count();
    facts.slideShowRunning = slideShowRunning_;
    facts.slideInterval = settings_.slideTime;
    if (lists_ && lists_->Playing()) {
        facts.folderIndex = lists_->Index();
        facts.folderCount = lists_->Count();
        facts.slideInterval = lists_->DisplayTime();
    }
    return facts;
}

void MainWindow::Recompose(DisplayChange change) {
    if (!document_.BothLoaded() || !document_.Left().image) {
        composer_.Clear();
    } else {
        const CompositionInput in = Input();
        if (change == DisplayChange::Offset)
            composer_.RecomposeAfterOffset(in);
        else
            composer_.ComposeForDisplay(in);
        texts_ = MakeDisplayTexts(in, Facts(), composer_);
    }
    ShowTexts();
    if (flip_) flip_->DisplayChanged();
}

void MainWindow::ShowTexts() {
    if (!document_.BothLoaded() || !document_.Left().image) {
        setWindowTitle(Res(StringId::ProgramTitle));
        for (QLabel* label : status_) label->clear();
        return;
    }
    QString title = Q(texts_.title);
    // A list entry's comment follows the picture's names.
    if (const QString comment = lists_ ? lists_->Comment() : QString(); !comment.isEmpty())
        title += QStringLiteral("  ") + comment;
    setWindowTitle(title);
    for (int i = 0; i < 3; ++i) status_[i]->setText(Q(texts_.status[i]));
}

void MainWindow::Zoom(CommandId command) {
    const ImageBuffer& left = document_.Left().image;
    if (!left) return;
    ZoomInput in;
    in.command = command;
    in.zoom = document_.ZoomPercent();
    in.mode = document_.Mode();
    in.frame = document_.FrameWidth();
    in.viewClient = view_->viewport()->size();
    in.leftView = QSize(left.Width(), left.Height());
    in.paneClient = view_->ScrollPaneClient();
    in.scroll = QPoint(document_.ScrollX(), document_.ScrollY());
    // A picture fitted to the window needs no scroll bars, so it may use their room too.
    if (command == CmdFitWindow)
        in.outputArea = PaneRoom(in.mode, view_->size(), in.frame);
    else if (command == CmdFitHeight || command == CmdFitHeightSecondPass ||
             command == CmdFitWidth || command == CmdFitWidthSecondPass)
        in.outputArea = PaneRoom(in.mode, in.viewClient, in.frame);
    if (flip_ && in.outputArea)
        if (const auto area = flip_->OutputArea()) in.outputArea = *area;
    const auto result = ApplyZoomCommand(in);
    if (!result) return;
    document_.SetZoomPercent(result->zoom);
    fitMode_ = static_cast<int>(result->fit);
    document_.SetScroll(result->scroll.x(), result->scroll.y());
    Recompose();
    view_->Relayout();
    if (result->followUp) ExecuteCommand(result->followUp);
}

void MainWindow::RefitAfterResize() {
    if (const auto fit = FitCommand(fitMode_)) ExecuteCommand(*fit);
}

// ---- the command switch --------------------------------------------------------------------

void MainWindow::PostCommand(CommandId command) {
    QMetaObject::invokeMethod(
        this, [this, command] { ExecuteCommand(command); }, Qt::QueuedConnection);
}

WindowServices MainWindow::Services() {
    return WindowServices{this, &host_, &document_, &settings_, &store_};
}

CommandContext MainWindow::Context() const {
    return CommandContext{document_.BothLoaded(), document_.SingleImageMode(),
                          flip_ && flip_->OpenGlActive()};
}

bool MainWindow::CommandActs(CommandId command) const {
    const CommandRegistry::Entry* entry = commands_.Find(command);
    return entry && GuardAllows(entry->guard, Context());
}

void MainWindow::ExecuteCommand(CommandId command) {
    // Nothing starts inside work that is running: a command posted meanwhile waits for it.
    if (reportingWork_) {
        QTimer::singleShot(50, this, [this, command] { ExecuteCommand(command); });
        return;
    }
    if (!FindCommand(command)) return;
    // A selection in the view sees every command first: it places or gives up its rectangle.
    if (view_->SelectionActive()) view_->ForwardToSelection(command);
    const CommandRegistry::Entry* entry = commands_.Find(command);
    if (!entry || !GuardAllows(entry->guard, Context())) return;
    if (!KeepsSlideShow(command)) slideShowRunning_ = false;
    entry->run(command);
    if (QAction* panorama = ToolbarAction(CmdPanorama)) panorama->setChecked(document_.Panorama());
}

void MainWindow::RegisterCommands() {
    using G = CommandGuard;
    CommandRegistry& c = commands_;
    // ---- zoom ----
    c.Add({CmdZoom100, CmdFitWindow, CmdZoomIn, CmdZoomOut, CmdZoom50, CmdZoom75, CmdZoom150,
           CmdZoom200, CmdFitHeight, CmdFitWidth},
          G::Loaded, [this](CommandId command) { Zoom(command); });
    c.Add({CmdFitHeightSecondPass, CmdFitWidthSecondPass}, G::Internal,
          [this](CommandId command) { Zoom(command); });

    // ---- the document's own commands (they signal the rebuild) ----
    c.Add(CmdSwap, G::Stereo, [this](CommandId) { document_.Swap(); });
    c.Add({CmdAlignUp, CmdAlignDown, CmdAlignLeft, CmdAlignRight, CmdAlignReset}, G::Stereo,
          [this](CommandId command) { document_.StepAlignment(command); });
    c.Add(CmdUndo, G::Loaded, [this](CommandId) { document_.Undo(); });
    c.Add(CmdRedo, G::Loaded, [this](CommandId) { document_.Redo(); });
    c.Add({CmdRotateRight, CmdRotateLeft}, G::Loaded,
          [this](CommandId command) { Rotate(command); });
    c.Add({CmdSideBySide, CmdOverUnder, CmdThreeViews, CmdInterlace, CmdGreyAnaglyph,
           CmdColourAnaglyph, CmdGreyRedCyan, CmdGreyRedGreen, CmdGreyRedBlue, CmdGreyYellowBlue,
           CmdColourRedCyan, CmdHalfToneRedCyan, CmdColourYellowBlue, CmdHalfToneYellowBlue,
           CmdDuboisRedCyan, CmdDuboisGreenMagenta, CmdDuboisAmberBlue},
          G::Stereo, [this](CommandId command) { document_.SelectDisplayMode(command); });

    // ---- trims and resizing ----
    const CommandRegistry::Handler trim = [this](CommandId command) {
        if (trims_->Execute(command) == TrimCommands::Outcome::Edited) RefitAfterResize();
    };
    c.Add({CmdFreeTrim, CmdCustomTrim, CmdTrimPreset1, CmdTrimPreset2, CmdTrimPreset3,
           CmdTrimPreset4, CmdTrimPreset5},
          G::LoadedNoGl, trim);
    c.Add(CmdResize, G::Loaded, trim);
    c.Add({CmdTrimFinished, CmdPresetTrimFinished}, G::Internal, trim);

    // ---- the view ----
    c.Add({CmdFullScreen}, G::Loaded, [this](CommandId command) { ToggleFullScreen(command); });
    c.Add({CmdLeaveFullScreen}, G::Always,
          [this](CommandId command) { ToggleFullScreen(command); });
    c.Add(CmdNavigator, G::Loaded, [this](CommandId) { ToggleNavigator(); });
    c.Add(CmdMouseCursor, G::Loaded,
          [this](CommandId) { view_->SetCursorHidden(!view_->CursorHidden()); });
    c.Add(CmdBorder, G::Loaded, [this](CommandId) { ToggleBorder(); });
    c.Add(CmdPanorama, G::Loaded, [this](CommandId) { TogglePanorama(); });
    c.Add(CmdPageFlipping, G::Loaded, [this](CommandId) { flip_->Command(); });
    c.Add({CmdNextImage, CmdPreviousImage, CmdNextPair}, G::Loaded,
          [this](CommandId command) { Browse(command); });
    c.Add(CmdSlideShow, G::Loaded, [this](CommandId) { ToggleSlideShow(); });
    c.Add(CmdRefreshStatus, G::Internal, [this](CommandId) {
        if (document_.BothLoaded() && document_.Left().image)
            texts_ = MakeDisplayTexts(Input(), Facts(), composer_);
        ShowTexts();
    });

    // ---- alignment, gamma and the anaglyph settings ----
    auto align = WithServices<AlignCommandContext>(Services());
    align.statusBar = statusBar();
    align.execute = [this](CommandId command) { ExecuteCommand(command); };
    align.offsetChanged = [this] {
        Recompose(DisplayChange::Offset);
        view_->Relayout();
    };
    RegisterAlignCommands(c, align);

    // ---- sharpen, edges, text and logo ----
    auto edit = WithServices<PictureEditContext>(Services());
    edit.progress = [this]() -> const Progress& { return WorkProgress(); };
    edit.codec = [this] { return Codec(); };
    edit.resized = [this] { RefitAfterResize(); };
    RegisterPictureEditCommands(c, edit);

    // ---- the frame, the DAS container and automatic scrolling ----
    auto frameDas = WithServices<FrameDasCommandContext>(Services());
    frameDas.progress = [this]() -> const Progress& { return WorkProgress(); };
    frameDas.workDone = [this] { ShowTexts(); };
    frameDas.borderChanged = [this] {
        document_.SetFrameWidth(ViewFrameWidth(settings_));
        view_->Relayout();
        view_->viewport()->update();
        RefitAfterResize();
    };
    frameDas.writeListAlignment = [this] {
        if (!lists_ || !lists_->Playing()) return false;
        static_cast<void>(lists_->WriteAlignment());  // it tells what happened
        return true;
    };
    RegisterFrameDasCommands(c, frameDas);
    AutoScrollCommandContext autoScroll;
    autoScroll.view = view_;
    autoScroll.document = &document_;
    autoScroll.togglePanorama = [this] { ExecuteCommand(CmdPanorama); };
    autoScroll.startInOutput = [this](bool vertical) {
        if (!flip_->OpenGlActive()) return false;
        flip_->StartAutoScroll(vertical);
        return true;
    };
    RegisterAutoScrollCommands(c, autoScroll);

    // ---- the program ----
    c.Add(CmdExit, G::Always, [this](CommandId) { close(); });
    c.Add(CmdHelp, G::Always, [this](CommandId) { Help(); });
    c.Add(CmdExternalProgram, G::Always, [this](CommandId) { ExternalProgram(); });
}

// ---- opening -------------------------------------------------------------------------------

void MainWindow::OpenCommandLine(const CommandLinePaths& paths) {
    const auto request = CommandLineOpening(paths, programFolder_, settings_.commandLineOpening);
    if (!request) return;
    pendingPath_ = request->path;
    pendingLeftPath_ = request->leftPath;
    commandLineStart_ = request->commandLineStart;
    fromHistory_ = false;
    if (request->layout) stereoLayout_ = *request->layout;
    if (request->sendAtOnce)
        ExecuteCommand(request->command);
    else
        PostCommand(request->command);
}

bool MainWindow::MayReplacePair() {
    const auto question = document_.ClosingQuestion();
    if (!question) return true;
    switch (host_.Ask(this, Q(question->text), Q(question->caption),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                      QMessageBox::Warning)) {
        case QMessageBox::Yes:
            return SaveStereoCommand();
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

void MainWindow::OpenFromHistory(CommandId item) {
    const auto opening = duplora::OpenFromHistory(settings_, item);
    if (!opening) return;
    commandLineStart_ = false;
    fromHistory_ = true;
    pendingPath_ = opening->pendingPath;
    pendingLeftPath_ = opening->pendingLeftPath;
    stereoLayout_ = opening->layout;
    ExecuteCommand(opening->command);
    fromHistory_ = false;
}

bool MainWindow::TakeOpened(OpenedViews views, OpenedKind kind, StereoLayout layout,
                            OpenSource source) {
    const bool wasSwapped = document_.Swapped();
    const bool mono = kind == OpenedKind::Mono;
    if (!views.ok && stopWork_) {
        // Stopped by the user: what is shown stays, and nothing needs saying.
        ShowTexts();
        return false;
    }
    if (!views.ok) {
        // What is shown stays; the user learns which file failed and why.
        const std::string failed = views.failedPath.empty() ? views.leftPath : views.failedPath;
        host_.Tell(this, Q(UnreadableText(failed, WhyUnreadable(failed, Codec()))),
                   Q(UnreadableCaption()));
        ShowTexts();
        return false;
    }
    if (source != OpenSource::List) lists_->Closed();
    document_.ClearForOpening(views.leftPath);
    document_.SetScroll(0, 0);
    stereoLayout_ = layout;
    document_.SetView(Side::Left, std::move(views.left), views.leftPath, views.leftName);
    // A single picture is shown alone; its right view is there without a picture.
    document_.SetView(Side::Right, std::move(views.right), views.rightPath, views.rightName);
    if (views.hasAlignment) document_.SetOffset(views.dx, views.dy);

    AfterOpeningInput in;
    in.kind = kind;
    in.loadedMenu = loadedMenu_;
    in.fromHistory =
        source == OpenSource::History || source == OpenSource::Browse || source == OpenSource::List;
    in.commandLineStart = commandLineStart_;
    in.commandLineOpening = settings_.commandLineOpening;
    in.openAtFullSize = settings_.openAtFullSize;
    in.fitMode = fitMode_;
    in.openedPath = views.leftPath;
    const AfterOpening plan = PlanAfterOpening(in);

    document_.SetModified(plan.modified);
    if (plan.equalizeSizes) {
        const Status equal = EqualiseViewSizes(document_.Left().image, document_.Right().image);
        if (!equal) host_.Tell(this, equal.Error());
    }
    if (!plan.openFolder.empty()) settings_.openFolder = plan.openFolder;
    if (plan.rebuildFolderList && source != OpenSource::Browse && source != OpenSource::List) {
        folder_ = BuildFolderList(views.leftPath);
        browseKind_ = layout == StereoLayout::Pair ? BrowseKind::TwoFiles : BrowseKind::StereoFile;
    }
    if (plan.loadMenu) LoadMenu(*plan.loadMenu);
    ApplyToolbarSet(plan.toolbar);
    document_.SetSingleImageMode(plan.singleImageMode);
    if (plan.displayMode) document_.SetMode(*plan.displayMode);
    if (source == OpenSource::Browse && wasSwapped && !mono) document_.Swap();
    if (plan.closeWhenPageFlippingEnds) flip_->SetCloseWhenDone(true);
    if (plan.updateHistory) {
        HistoryEntry entry;
        entry.first = views.leftPath;
        entry.layout = layout;
        if (layout == StereoLayout::Pair) entry.second = views.rightPath;
        store_.WriteSettings(UpdateFileHistory(settings_, entry));
    }
    Recompose();
    view_->Relayout();
    if (views.partial)
        host_.Tell(this, Q(FormatResString(StringId::PartlyRead, views.leftPath.c_str())),
                   Res(StringId::WarningCaption));
    for (const QueuedCommand& queued : plan.commands) {
        if (queued.sendAtOnce)
            ExecuteCommand(queued.command);
        else
            PostCommand(queued.command);
    }
    commandLineStart_ = false;
    return true;
}

void MainWindow::Browse(CommandId command) {
    if (lists_->Playing()) {
        // A list plays: its entries take the folder's place.
        lists_->Step(command);
        return;
    }
    if (folder_.Empty()) return;
    if (!MayReplacePair()) {
        // A slide show stops rather than ask again at its next picture.
        slideShowRunning_ = false;
        return;
    }
    if (browseKind_ == BrowseKind::StereoFile) {
        const auto step = StepStereoFile(folder_, command);
        if (!step) return;
        folder_.index = step->index;
        const StereoLayout layout =
            document_.SingleImageMode() ? StereoLayout::Single : stereoLayout_;
        OpenStereo(step->path, layout, OpenSource::Browse);
        return;
    }
    PairContext context;
    context.leftFolder = std::string(FolderPart(document_.Slot(0).path));
    context.rightFolder = rightFolder_;
    const auto step = StepPair(folder_, command, context);
    if (!step) return;
    folder_.index = step->index;
    OpenPair(step->left, step->right, OpenSource::Browse);
}

void MainWindow::Paste() {
    if (!MayReplacePair()) return;
    const QImage image = QApplication::clipboard()->image();
    ImageBuffer picture = ImageBufferFromQImage(image);
    StereoViews pair = SplitStereoPicture(picture, StereoLayout::SideBySide);
    if (!pair.left || !pair.right) {
        host_.Tell(this, Res(StringId::CannotPaste), Res(StringId::ErrorCaption));
        return;
    }
    lists_->Closed();
    const std::string leftLabel = LoadResString(StringId::PastedLeftName);
    const std::string rightLabel = LoadResString(StringId::PastedRightName);
    document_.ClearForOpening(leftLabel);
    document_.SetScroll(0, 0);
    document_.SetView(Side::Left, std::move(pair.left), leftLabel, leftLabel);
    document_.SetView(Side::Right, std::move(pair.right), rightLabel, rightLabel);
    AfterOpeningInput in;
    in.kind = OpenedKind::Paste;
    in.loadedMenu = loadedMenu_;
    const AfterOpening plan = PlanAfterOpening(in);
    document_.SetModified(plan.modified);
    if (plan.loadMenu) LoadMenu(*plan.loadMenu);
    ApplyToolbarSet(plan.toolbar);
    document_.SetSingleImageMode(plan.singleImageMode);
    if (plan.displayMode) document_.SetMode(*plan.displayMode);
    Recompose();
    view_->Relayout();
}

void MainWindow::Copy() {
    const CompositionInput in = Input();
    Result<ImageBuffer> picture =
        ComposeForOutput(in, document_.Mode(), document_.Dx(), document_.Dy());
    if (!picture) host_.Tell(this, picture.Error());
    const QImage image = picture ? QImageFromImageBuffer(picture.Value()) : QImage();
    if (image.isNull()) {
        host_.Tell(this, Res(StringId::CannotCreateBackup), Res(StringId::ErrorCaption));
        return;
    }
    QApplication::clipboard()->setImage(image);
}

// ---- other commands --------------------------------------------------------------------------

void MainWindow::Rotate(CommandId command) {
    const int direction = command == CmdRotateRight ? kRotateClockwise : kRotateCounterClockwise;
    // The offset turns with the pictures; the view starts at the top-left.
    ViewState view = document_.CurrentViewState();
    const int dx = view.dx;
    const int dy = view.dy;
    view.dx = direction == kRotateClockwise ? -dy : dy;
    view.dy = direction == kRotateClockwise ? dx : -dx;
    view.scrollX = view.scrollY = 0;
    const Progress& progress = WorkProgress();
    document_.ApplyEdit([&](const ImageBuffer& left, const ImageBuffer& right) {
        EditedPair pair;
        pair.left = RotateQuarter(left, direction, progress);
        if (right) pair.right = RotateQuarter(right, direction, progress);
        pair.view = view;
        return pair;
    });
    RefitAfterResize();
}

void MainWindow::ToggleFullScreen(CommandId command) {
    const FullScreenStep step =
        FullScreenAction(command, document_.BothLoaded(), fullScreen_, flip_->OpenGlActive());
    if (step == FullScreenStep::CloseOpenGl) flip_->Command();
    if (step != FullScreenStep::Toggle) return;
    fullScreen_ = !fullScreen_;
    // Full screen shows the view alone: no menus, toolbar, status bar or scroll bars.
    const Qt::ScrollBarPolicy bars = fullScreen_ ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    view_->setHorizontalScrollBarPolicy(bars);
    view_->setVerticalScrollBarPolicy(bars);
    menuBar()->setVisible(!fullScreen_);
    toolbar_->setVisible(!fullScreen_);
    statusBar()->setVisible(!fullScreen_);
    if (fullScreen_) {
        wasMaximized_ = isMaximized();
        showFullScreen();
    } else if (wasMaximized_) {
        showMaximized();
    } else {
        showNormal();
    }
    view_->Relayout();
    if (const auto fit = FitCommand(fitMode_)) PostCommand(*fit);
}

void MainWindow::ToggleBorder() {
    settings_.border.show = settings_.border.show ? 0 : 1;
    store_.WriteSettings(SettingWritesFor(settings_, {setting::kBorder}));
    document_.SetFrameWidth(ViewFrameWidth(settings_));
    view_->Relayout();
    RefitAfterResize();
}

void MainWindow::ToggleNavigator() {
    settings_.showNavigator = settings_.showNavigator == 1 ? 0 : 1;
    store_.WriteSettings(SettingWritesFor(settings_, {setting::kNLoc}));
    FollowNavigatorSetting();
    // The keys stay with the main window.
    activateWindow();
}

void MainWindow::FollowNavigatorSetting() {
    // Shown while the setting asks for it and there is a picture to show.
    const bool picture =
        composer_.Has(DisplayComposer::kFirstView) || composer_.Has(DisplayComposer::kComposite);
    const bool show = settings_.showNavigator == 1 && picture;
    if (!show) {
        navigator_->hide();
        return;
    }
    if (!navigator_->isVisible()) {
        const QPoint corner = view_->mapToGlobal(QPoint(view_->width(), 0));
        navigator_->move(corner.x() - navigator_->width() - 10, corner.y() + 10);
        navigator_->show();
    }
    navigator_->Rebuild();
}

void MainWindow::TogglePanorama() {
    document_.SetPanorama(!document_.Panorama());
    Recompose();
    view_->Relayout();
}

void MainWindow::ToggleSlideShow() {
    // The command has cleared nothing: it toggles.
    if (slideTimer_.isActive() && slideShowRunning_) {
        slideShowRunning_ = false;
    } else if (lists_->Playing()) {
        slideShowRunning_ = true;
        slideTimer_.start(lists_->TimerMs());
    } else if (SlideShowCanStart(folder_)) {
        slideShowRunning_ = true;
        slideTimer_.start(SlideShowIntervalMs(settings_.slideTime));
    }
    ExecuteCommand(CmdRefreshStatus);
}

void MainWindow::SlideShowTick() {
    if (slideShowRunning_ && lists_->Playing()) {
        // Each entry keeps its own time; entries whose files are gone are passed over.
        if (!lists_->Step(CmdNextImage, true)) slideShowRunning_ = false;
        if (slideShowRunning_) slideTimer_.start(lists_->TimerMs());
        ExecuteCommand(CmdRefreshStatus);
        return;
    }
    if (slideShowRunning_) {
        ExecuteCommand(CmdNextImage);
        return;
    }
    slideTimer_.stop();
    ExecuteCommand(CmdRefreshStatus);
}

void MainWindow::ExternalProgram() {
    QStringList arguments;
    if (document_.BothLoaded() && document_.Left().image &&
        settings_.passPictureToExternalProgram == 1) {
        Result<ImageBuffer> picture =
            ComposeForOutput(Input(), document_.Mode(), document_.Dx(), document_.Dy());
        if (!picture) {
            host_.Tell(this, picture.Error());
            host_.Tell(this, Res(StringId::CannotStoreValues), Res(StringId::ErrorCaption));
            return;
        }
        // A folder of its own, left behind for the other program to read.
        QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/duplora-XXXXXX"));
        folder.setAutoRemove(false);
        const QString path = folder.filePath(QStringLiteral("TMP.BMP"));
        const Status written =
            folder.isValid() ? WriteBmpFile(path.toStdString(), picture.Value(), WorkProgress())
                             : Status(Failure::Quiet());
        if (!written) {
            host_.Tell(this, written.Error());
            host_.Tell(this, Res(StringId::CannotSaveImage), path);
            return;
        }
        arguments << path;
    }
    // Said when it fails: the user would otherwise wait for a program that never comes.
    if (!host_.StartProgram(Q(settings_.externalProgram), arguments))
        host_.Tell(
            this,
            Q(FormatResString(StringId::CannotStartProgram, settings_.externalProgram.c_str())),
            Res(StringId::ErrorCaption));
}

void MainWindow::Help() {
    if (flip_->OpenGlActive()) {
        flip_->ToggleGlHelp();
        return;
    }
    const std::string page = FindHelpPage(programFolder_, CurrentUiLanguage());
    const QString path =
        Q(page.empty() ? HelpPageCandidates(programFolder_, CurrentUiLanguage()).front() : page);
    const bool shown = !page.empty() && host_.OpenWithDesktop(QUrl::fromLocalFile(path));
    if (!shown) host_.Tell(this, Res(StringId::HelpFileNotFound), path);
}

// The place, size and maximised state of the last run, and whether the toolbar was hidden.
// Nothing stored (the first run) keeps the default size and lets the window manager place it.
void MainWindow::RestoreWindowPlace() {
    const std::string geometry = store_.ReadSetting(setting::kWindowGeometry);
    if (!geometry.empty())
        restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(geometry)));
    if (store_.ReadSetting(setting::kToolbarShown) == "0") toolbar_->hide();
}

// ---- events ------------------------------------------------------------------------------------

// While work runs, input waits: Escape and a close stop the work, the stop button gets its
// click, nothing else reaches a widget, a shortcut or a drop.
bool MainWindow::HoldDuringWork(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Taken as an ordinary key, so that no shortcut fires and the press comes here.
            event->accept();
            return true;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) StopWork();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return watched != stopButton_;
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        case QEvent::Close:
            // Closing stops the work first, then closes as always (asking about changes).
            if (watched != this) return false;
            StopWork();
            event->ignore();
            QTimer::singleShot(50, this, &QWidget::close);
            return true;
        default:
            return false;
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    slideShowRunning_ = false;
    slideTimer_.stop();
    // Only a saved pair or a "Nein" lets the window go; a cancelled save keeps it open.
    if (!MayReplacePair()) {
        event->ignore();
        return;
    }
    // The anaglyph choices as they are now.
    settings_.greyAnaglyphPair = document_.GreyPair();
    settings_.colourAnaglyphKind = document_.ColourKind();
    SettingWrites writes = ClosingWrites(settings_);
    writes.emplace_back(setting::kWindowGeometry, saveGeometry().toBase64().toStdString());
    writes.emplace_back(setting::kToolbarShown, toolbar_->isHidden() ? "0" : "1");
    store_.WriteSettings(writes);
    flip_->Stop();
    // A running batch gives up its file, removing what it had written of it.
    conversions_->StopForClose();
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (reportingWork_ && HoldDuringWork(watched, event)) return true;
    // Alt+letter accelerators win over the menu bar's mnemonics, which would otherwise make
    // the key ambiguous (and do nothing).
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            if (const auto command = AltAccelerator(*static_cast<QKeyEvent*>(event))) {
                event->accept();
                if (event->type() == QEvent::KeyPress) ExecuteCommand(*command);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

std::optional<CommandId> MainWindow::AltAccelerator(const QKeyEvent& event) const {
    if (event.modifiers() != Qt::AltModifier) return std::nullopt;
    const auto it = altAccelerators_.find(event.key());
    if (it == altAccelerators_.end() || NotYetBuilt(it->second)) return std::nullopt;
    return it->second;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The fit follows the window, once the new size has settled.
    if (fitMode_ != 0 && document_.BothLoaded())
        QMetaObject::invokeMethod(
            this, [this] { RefitAfterResize(); }, Qt::QueuedConnection);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const std::vector<std::string> files = LocalFilesFromUrls(event->mimeData()->urls());
    const auto request = DropOpening(files);
    if (!request) return;
    event->acceptProposedAction();
    commandLineStart_ = false;
    fromHistory_ = false;
    pendingPath_ = request->path;
    pendingLeftPath_ = request->leftPath;
    PostCommand(request->command);
    raise();
    activateWindow();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    // Over the menu bar or the toolbar: whether the toolbar is shown.
    for (QWidget* w = childAt(event->pos()); w && w != this; w = w->parentWidget()) {
        if (w == toolbar_ || w == menuBar()) {
            QMenu bars;
            bars.addAction(toolbar_->toggleViewAction());
            bars.exec(event->globalPos());
            return;
        }
    }
    QMenu* menu = BuildContextMenu();
    if (!menu) return;
    UpdateMenu(menu);
    menu->exec(event->globalPos());
    delete menu;
}

}  // namespace duplora

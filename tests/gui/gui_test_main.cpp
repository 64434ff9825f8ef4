#include "gui_test_main.h"

#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QRadioButton>

#include "gui/shell/widget_texts.h"
#include "support/test_support.h"

namespace duplora::test {

namespace {
int modalSeen = 0;

QtMessageHandler standardHandler = nullptr;

// The offscreen platform says so whenever a window asks for what it cannot do; that is noise.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    if (standardHandler) standardHandler(type, context, message);
}

}  // namespace

int ModalWindowsSeen() {
    return modalSeen;
}

void Settle(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents();
    }
}

void MoveMouse(QWidget* widget, QPoint to, Qt::MouseButtons buttons) {
    QMouseEvent move(QEvent::MouseMove, QPointF(to), widget->mapToGlobal(QPointF(to)), Qt::NoButton,
                     buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void DragMouse(QWidget* widget, QPoint from, QPoint to, int steps) {
    MoveMouse(widget, from, Qt::NoButton);
    // (QTest presses at the centre when given the point 0, 0.)
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= steps; ++i)
        MoveMouse(widget, from + (to - from) * i / steps, Qt::LeftButton);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, to);
    Settle();
}

void ExpectPaneShows(QWidget* pane, const ImageBuffer& picture, QPoint origin, QPoint step,
                     std::optional<int> wrapX) {
    const QImage shown = pane->grab().toImage();
    ASSERT_FALSE(shown.isNull());
    for (int y = 0; y < shown.height() && origin.y() + y < picture.Height(); y += step.y())
        for (int x = 0; x < shown.width(); x += step.x()) {
            const int px = wrapX && x >= *wrapX ? x - *wrapX : origin.x() + x;
            if (px >= picture.Width()) continue;
            ASSERT_EQ(shown.pixel(x, y), Rgb(PixelAt(picture, px, origin.y() + y)))
                << x << "," << y;
        }
}

void ClickFile(QWidget& dialog, const QString& path) {
    auto* files = dialog.findChild<QFileDialog*>();
    if (!files) files = qobject_cast<QFileDialog*>(&dialog);
    ASSERT_NE(files, nullptr);
    const QFileInfo info(path);
    files->setDirectory(info.absolutePath());
    // The list or the detail view, whichever the dialog shows.
    QAbstractItemView* list = files->findChild<QListView*>(QStringLiteral("listView"));
    if (!list || !list->isVisible())
        list = files->findChild<QAbstractItemView*>(QStringLiteral("treeView"));
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->isVisible());
    auto* model = qobject_cast<QFileSystemModel*>(list->model());
    ASSERT_NE(model, nullptr);
    QModelIndex index;
    // The model reads the folder in the background.
    ASSERT_TRUE(QTest::qWaitFor([&] {
        index = model->index(info.absoluteFilePath());
        return index.isValid() && !list->visualRect(index).isEmpty();
    }));
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualRect(index).center());
    Settle(2);
}

void TypeFileName(QWidget& dialog, const QString& name, bool enter) {
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    TypeOver(box, name);
    if (enter && box) QTest::keyClick(box, Qt::Key_Return);
}

void QueueColour(ScriptedHost& host, const QString& html) {
    host.Queue([html](QDialog& chooser) {
        ASSERT_NE(qobject_cast<QColorDialog*>(&chooser), nullptr);
        QLineEdit* field = nullptr;
        for (QLineEdit* edit : chooser.findChildren<QLineEdit*>())
            if (edit->isVisible() && edit->text().startsWith(QLatin1Char('#'))) field = edit;
        ASSERT_NE(field, nullptr);
        TypeOver(field, html);
        Settle(2);
        ASSERT_TRUE(ClickButton(chooser, QStringLiteral("OK")));
    });
}

QMenu* MenuOf(MainWindow& window, const QString& name) {
    return window.menuBar()->findChild<QMenu*>(name);
}

QList<QAction*> Opened(QMenu* menu) {
    if (!menu) return {};
    QMetaObject::invokeMethod(menu, "aboutToShow", Qt::DirectConnection);
    return menu->actions();
}

void ClickControl(QWidget& dialog, int id) {
    auto* button = Control<QAbstractButton>(dialog, id);
    ASSERT_NE(button, nullptr) << "no control " << id;
    ASSERT_TRUE(button->isVisible()) << "control " << id << " is not shown";
    // A check box or radio button reacts on its mark and text only, not on the empty space
    // its row gives it.
    const bool marked = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
    const QPoint at = marked ? QPoint(6, button->height() / 2) : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
    Settle(2);
}

void Press(Qt::Key key, int times) {
    for (int k = 0; k < times; ++k) QTest::keyClick(QApplication::focusWidget(), key);
    Settle(2);
}

void TypeOver(QWidget* field, const QString& text) {
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->isVisible()) << field->objectName().toStdString();
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

void WindowTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    store_ = std::make_unique<SettingsStore>(dir_.filePath(QStringLiteral("duplmaker.ini")));
}

void WindowTest::TearDown() {
    window_.reset();
    EXPECT_EQ(host_.PendingScripts(), 0) << "a queued answer was never used";
}

MainWindow& WindowTest::Start(CommandLinePaths paths) {
    StartOptions options;
    options.commandLine = std::move(paths);
    window_ = std::make_unique<MainWindow>(*store_, host_, options);
    window_->resize(1000, 700);
    window_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    Settle();
    return *window_;
}

MainWindow& NoisePairTest::OpenNoisePair(int width, int height, const char* leftName,
                                         const char* rightName) {
    left_ = MakeNoise(width, height, 21);
    right_ = MakeNoise(width, height, 22);
    leftPath_ = dir_.filePath(QLatin1String(leftName)).toStdString();
    rightPath_ = dir_.filePath(QLatin1String(rightName)).toStdString();
    EXPECT_TRUE(WriteBmpForTest(left_, leftPath_) && WriteBmpForTest(right_, rightPath_));
    MainWindow& window = StartWithPair(leftPath_, rightPath_);
    EXPECT_TRUE(window.Document().BothLoaded());
    return window;
}

QString QSample(const std::string& relative) {
    return QString::fromStdString(SamplePath(relative));
}

bool HaveSmallPair() {
    return SampleExists(kSmallLeft) && SampleExists(kSmallRight);
}

MainWindow& WindowTest::StartSmallPair() {
    return StartWithPair(SamplePath(kSmallLeft), SamplePath(kSmallRight));
}

void WindowTest::OpenSingle(const QString& path) {
    host_.QueueTyping(path);
    window_->ExecuteCommand(CmdOpenSingle);
    Settle();
}

void SamplePairTest::SetUp() {
    WindowTest::SetUp();
    if (!HaveSmallPair()) GTEST_SKIP() << "sample photographs missing";
    StartSmallPair();
}

void WindowTest::ExpectPair(const ImageBuffer& left, const ImageBuffer& right,
                            const std::string& name) {
    EXPECT_TRUE(SamePixels(window_->Document().Left().image, left, name + "_left"));
    EXPECT_TRUE(SamePixels(window_->Document().Right().image, right, name + "_right"));
}

void WindowTest::Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(window_.get(), key, modifiers);
    Settle(2);
}

}  // namespace duplora::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    duplora::test::standardHandler = qInstallMessageHandler(duplora::test::QuietHandler);
    QApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Ferrowyn"));
    app.setApplicationName(QStringLiteral("duplmaker-test"));
    // The tests read the German texts, whatever the locale of the one who runs them.
    duplora::SetUserLanguage(duplora::UiLanguage::German);
    // Anything modal that still opens runs its own event loop, where this timer finds and
    // closes it, so a test fails instead of hanging.
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        QWidget* stray = QApplication::activeModalWidget();
        if (!stray) stray = QApplication::activePopupWidget();
        if (stray && !stray->property("scripted").toBool()) {
            ++duplora::test::modalSeen;
            stray->close();
        }
    });
    watchdog.start(50);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

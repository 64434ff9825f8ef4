// The GUI tests' own start: an offscreen QApplication, test-mode paths and no dialogs; and
// what the tests share to drive a main window.
#pragma once

#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "gui/shell/main_window.h"
#include "scripted_host.h"

namespace duplora::test {

// Modal windows or popups the watchdog found open (and closed) so far.
int ModalWindowsSeen();

// Handles posted and pending events a few rounds.
void Settle(int rounds = 8);

// A picture pixel (0xRRGGBB) as a grabbed pane holds it.
inline QRgb Rgb(std::uint32_t rrggbb) {
    return 0xFF000000u | rrggbb;
}

// A mouse move with `buttons` held.
void MoveMouse(QWidget* widget, QPoint to, Qt::MouseButtons buttons);

// Hover at `from`, press, `steps` moves with the button held, release.
void DragMouse(QWidget* widget, QPoint from, QPoint to, int steps = 1);

// The pane shows `picture` from `origin`, checked on a grid of `step`; from pane column
// `wrapX` on, a panorama's copy from the picture's first column. What lies past the
// picture's end is not checked.
void ExpectPaneShows(QWidget* pane, const ImageBuffer& picture, QPoint origin, QPoint step,
                     std::optional<int> wrapX = {});

// Clicks the file `path` in the file list of a shown file dialog, as a user picking it (the
// list shows the file's folder first).
void ClickFile(QWidget& dialog, const QString& path);

// The control of a dialog by its control id (objectName "ctl<id>"), or null.
template <typename T = QWidget>
T* Control(QWidget& dialog, int id) {
    return dialog.findChild<T*>(QStringLiteral("ctl%1").arg(id));
}

// The control `id`, which must be there and shown.
template <typename T = QWidget>
T* Shown(QWidget& dialog, int id) {
    T* control = Control<T>(dialog, id);
    EXPECT_NE(control, nullptr) << "no control " << id;
    EXPECT_TRUE(!control || control->isVisible()) << "control " << id << " is not shown";
    return control;
}

// Types `name` over the name box of a shown file dialog and, unless `enter` is false, presses
// Return.
void TypeFileName(QWidget& dialog, const QString& name, bool enter = true);

// The next dialog is the colour chooser: `html` ("#rrggbb") is typed into its HTML field and
// "OK" clicked.
void QueueColour(ScriptedHost& host, const QString& html);

// The window's menu `name` (its objectName) and its items as they are when it opens.
QMenu* MenuOf(MainWindow& window, const QString& name);
QList<QAction*> Opened(QMenu* menu);

// Clicks the shown button `id` where a user aims: a check box or radio button on its mark.
void ClickControl(QWidget& dialog, int id);

// Presses `key` `times` in the focused widget.
void Press(Qt::Key key, int times = 1);

// Clicks into a shown field, selects what it holds and types `text` over it.
void TypeOver(QWidget* field, const QString& text);

// A main window over a settings file of its own, shown and active at 1000 × 700; every dialog
// it opens goes to `host_`.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    MainWindow& Start(CommandLinePaths paths = {});
    // The pair from the command line: the second argument is the left view.
    MainWindow& StartWithPair(const std::string& left, const std::string& right) {
        return Start({right, left});
    }
    // The small sample pair from the command line; the caller skips without it.
    MainWindow& StartSmallPair();
    // Opens `path` as a single picture through its dialog, as typed into the name box.
    void OpenSingle(const QString& path);
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QString Status(int part) const { return window_->StatusText(part); }
    QStringList Statuses() const { return {Status(0), Status(1), Status(2)}; }
    // The document's pair is `left` and `right`, pixel for pixel.
    void ExpectPair(const ImageBuffer& left, const ImageBuffer& right, const std::string& name);
    QPoint Scroll() const { return {window_->Document().ScrollX(), window_->Document().ScrollY()}; }

    QTemporaryDir dir_;
    ScriptedHost host_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<MainWindow> window_;
};

// A pair of width × height noise pictures, opened from the BMP files `leftName` and `rightName`.
class NoisePairTest : public WindowTest {
  protected:
    MainWindow& OpenNoisePair(int width, int height, const char* leftName = "l.bmp",
                              const char* rightName = "r.bmp");

    ImageBuffer left_, right_;
    std::string leftPath_, rightPath_;
};

// A sample photograph's path as Qt takes it.
QString QSample(const std::string& relative);

// The small sample pair, 640 × 480, fifth and sixth of its folder's six pictures.
inline constexpr const char* kSmallLeft = "pairs/sugarshack_l.jpg";
inline constexpr const char* kSmallRight = "pairs/sugarshack_r.jpg";
bool HaveSmallPair();

// Starts with the small pair on the command line, or skips without the photographs.
class SamplePairTest : public WindowTest {
  protected:
    void SetUp() override;
};

}  // namespace duplora::test

// The page-flipping command (CmdPageFlipping, F8) and the output it starts: the OpenGL
// quad-buffered window beside the main window, or the full-screen double-width output, or the
// same with a Win3D driver library taking the eyes' pages. The main window owns one and tells
// it when the display changed; the outputs send their commands back through `execute`.
#pragma once

#include <QSize>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/flip/flip_rules.h"
#include "app/flip/win3d_driver.h"
#include "core/stereo/display_composer.h"
#include "gui/flip/flip_windows.h"

class QWidget;

namespace duplora {

class DialogHost;
class StereoDocument;
struct Settings;

class PageFlipping : public FlipInput {
  public:
    struct Links {
        QWidget* mainWindow = nullptr;
        DialogHost* host = nullptr;
        StereoDocument* document = nullptr;
        // What the main window composes now; the full-screen outputs compose it side by side.
        std::function<CompositionInput()> input;
        const Settings* settings = nullptr;
        std::function<void(CommandId)> execute;
        std::function<bool()> slideShowRunning;
        // Recompose the display for the pictures of the document (after views were replaced).
        std::function<void()> recompose;
        // Apply the remembered fit mode again (after the room changed).
        std::function<void()> refit;
    };
    explicit PageFlipping(Links links);
    ~PageFlipping() override;

    // CmdPageFlipping: stops the OpenGL output when it runs, else starts the configured one.
    void Command();
    // The help overlay of the OpenGL window (CmdHelp while it runs).
    void ToggleGlHelp();
    // Ends whatever output runs (the main window closes).
    void Stop();

    bool OpenGlActive() const { return glWindow_ != nullptr; }
    bool ScreenActive() const { return screenWindow_ != nullptr; }
    // The room fitting uses while an output runs.
    std::optional<QSize> OutputArea() const;
    // The pictures or how they are shown changed: the outputs draw again.
    void DisplayChanged();
    // The program ends when page flipping ends (start display 6).
    void SetCloseWhenDone(bool close) { closeWhenDone_ = close; }

    // For tests and tools.
    FlipScreenWindow* ScreenWindow() const { return screenWindow_.get(); }
    StereoGlWindow* GlWindow() const { return glWindow_.get(); }
    const Win3dSession& Win3d() const { return win3d_; }
    // The side-by-side composition the full-screen outputs show.
    const DisplayComposer& Composer() const { return composer_; }
    PageFlipOutput Output() const { return output_; }

    // ---- FlipInput ----
    void Key(int key, Qt::KeyboardModifiers modifiers) override;
    void LeftDrag(QPoint delta) override;
    void RightDrag(int upward) override;
    void DoubleClick(Qt::MouseButton button) override;
    void Wheel(int angle) override;
    void LeftClick() override;
    void Closed() override;

    // Automatic scrolling of the picture shown by the running output (I, Shift+I).
    void StartAutoScroll(bool vertical);

  private:
    bool StartOpenGl();
    bool StartScreen(PageFlipOutput output);
    void StopOpenGl();
    void StopScreen();
    void Ended();
    bool FitViewsIntoTexture(int edge);
    void RedrawScreen();
    void RedrawGl();
    void WriteAlignment();
    void AutoScrollTick();
    QSize PictureSize() const;
    QSize ScreenSize() const;
    void Send(CommandId command);

    Links links_;
    PageFlipOutput output_ = PageFlipOutput::DoubleWidth;
    std::unique_ptr<FlipScreenWindow> screenWindow_;
    std::unique_ptr<StereoGlWindow> glWindow_;
    Win3dSession win3d_;
    // The views the OpenGL window's textures were made from.
    struct LoadedViews {
        const void* left = nullptr;
        const void* right = nullptr;
        int leftWidth = 0, leftHeight = 0, rightWidth = 0, rightHeight = 0;
        friend bool operator==(const LoadedViews&, const LoadedViews&) = default;
    };
    LoadedViews loaded_;
    DisplayComposer composer_;
    bool closeWhenDone_ = false;
    bool help_ = false;
    bool information_ = false;
    std::string message_;
    bool ending_ = false;
    std::unique_ptr<AutoScrollPace> autoScroll_;
    QTimer autoScrollTimer_;
};

}  // namespace duplora

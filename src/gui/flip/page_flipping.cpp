#include "gui/flip/page_flipping.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QScreen>
#include <QWidget>

#include "app/flip/eye_frames.h"
#include "app/shell/commands.h"
#include "app/shell/settings.h"
#include "app/shell/settings_dialogs.h"
#include "app/shell/stereo_document.h"
#include "core/formats/das.h"
#include "core/image/resample.h"
#include "core/stereo/display_composer.h"
#include "core/strings.h"
#include "gui/shell/dialog_host.h"
#include "gui/shell/ui_text.h"
#include "res/core/string_ids.h"

namespace duplora {

namespace {

// Whether this display gives a context with quad-buffered stereo.
QSurfaceFormat StereoFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(16);
    format.setStereo(true);
    return format;
}

// The main window's command of a key, as its shortcuts would take it.
std::optional<CommandId> CommandOfKey(int key, Qt::KeyboardModifiers modifiers) {
    const QKeyCombination pressed(modifiers & ~Qt::KeypadModifier, Qt::Key(key));
    for (const CommandEntry& entry : CommandTable())
        for (std::string_view text : entry.keys) {
            if (text.empty()) continue;
            const QKeySequence sequence(QString::fromUtf8(text.data(), qsizetype(text.size())),
                                        QKeySequence::PortableText);
            if (!sequence.isEmpty() && sequence[0] == pressed && !NotYetBuilt(entry.id))
                return entry.id;
        }
    return std::nullopt;
}

}  // namespace

PageFlipping::PageFlipping(Links links) : links_(std::move(links)) {
    autoScrollTimer_.setSingleShot(true);
    QObject::connect(&autoScrollTimer_, &QTimer::timeout, [this] { AutoScrollTick(); });
}

PageFlipping::~PageFlipping() {
    ending_ = true;
    autoScrollTimer_.stop();
    win3d_.Close();
}

void PageFlipping::Send(CommandId command) {
    if (links_.execute) links_.execute(command);
}

void PageFlipping::Command() {
    if (glWindow_) {
        StopOpenGl();
        return;
    }
    if (screenWindow_) return;
    StereoDocument& document = *links_.document;
    if (document.SingleImageMode() || !document.BothLoaded() || !document.Left().image ||
        !document.Right().image)
        return;
    if (links_.slideShowRunning && links_.slideShowRunning()) Send(CmdSlideShow);

    output_ = PageFlipOutputOf(links_.settings->pageFlipDriver);
    if (output_ == PageFlipOutput::OpenGl) {
        const int edge = PageFlipTextureSize(links_.settings->textureSize);
        const ImageBuffer& right = document.Right().image;
        if (ExceedsTexture({document.Left().image.Width(), document.Left().image.Height()}, edge) ||
            ExceedsTexture({right.Width(), right.Height()}, edge)) {
            const QString text = QString::fromStdString(FormatResString(
                StringId::TextureTooSmallResize, right.Width(), right.Height(), edge, edge));
            if (links_.host->Ask(links_.mainWindow, text, Res(StringId::WarningCaption),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Warning) != QMessageBox::Yes)
                return;
        }
        if (!StartOpenGl()) return;
        if (FitViewsIntoTexture(edge) && links_.recompose) links_.recompose();
        RedrawGl();
        return;
    }
    StartScreen(output_);
}

bool PageFlipping::FitViewsIntoTexture(int edge) {
    StereoDocument& document = *links_.document;
    bool replaced = false;
    for (Side side : {Side::Left, Side::Right}) {
        ImageBuffer& view = document.View(side).image;
        const PixelSize size{view.Width(), view.Height()};
        if (!ExceedsTexture(size, edge)) continue;
        const PixelSize fitted = FitIntoTexture(size, edge);
        ImageBuffer smaller = ResizeImage(view, fitted.width, fitted.height);
        if (!smaller) continue;
        view = std::move(smaller);
        replaced = true;
    }
    return replaced;
}

bool PageFlipping::StartOpenGl() {
    const QSurfaceFormat wanted = StereoFormat();
    QOpenGLContext probe;
    probe.setFormat(wanted);
    const bool haveGl = probe.create();
    if (!haveGl || !probe.format().stereo()) {
        // Nothing else changes: the main window goes on as it was.
        links_.host->Tell(links_.mainWindow,
                          Res(haveGl ? StringId::NoStereoFormat : StringId::NoOpenGl),
                          Res(StringId::ErrorCaption));
        return false;
    }
    glWindow_ = std::make_unique<StereoGlWindow>(*this, probe.format());
    glWindow_->setTransientParent(links_.mainWindow->windowHandle());
    const QRect area = links_.mainWindow->geometry();
    glWindow_->setGeometry(area);
    glWindow_->show();
    glWindow_->raise();
    glWindow_->requestActivate();
    if (links_.refit) links_.refit();
    Send(CmdRefreshStatus);
    return true;
}

void PageFlipping::StopOpenGl() {
    if (!glWindow_) return;
    loaded_ = {};
    autoScrollTimer_.stop();
    autoScroll_.reset();
    // The window may be in one of its own event handlers: it goes once they return.
    StereoGlWindow* window = glWindow_.release();
    window->hide();
    window->deleteLater();
    if (links_.recompose) links_.recompose();
    if (links_.refit) links_.refit();
    Ended();
}

bool PageFlipping::StartScreen(PageFlipOutput output) {
    if (output == PageFlipOutput::Win3d) {
        const ScreenMode mode = PageFlipScreenMode(links_.settings->pageFlipScreenMode);
        if (!win3d_.Open(links_.settings->win3dLibrary, mode.width, mode.height,
                         PageFlipBitDepth(links_.settings->pageFlipColourDepth))) {
            const int error = win3d_.Error();
            links_.host->Tell(
                links_.mainWindow,
                Res(error == W3D_NO_LIBRARY ? StringId::NoPageFlippingDriver
                                            : StringId::CannotDisplayImage),
                Res(error == W3D_NO_LIBRARY ? StringId::ErrorCaption : StringId::WarningCaption));
            return false;
        }
    }
    help_ = information_ = false;
    message_.clear();
    screenWindow_ = std::make_unique<FlipScreenWindow>(
        *this, output == PageFlipOutput::Win3d ? QStringLiteral("W3DWindow")
                                               : QStringLiteral("Duplora NVidia"));
    QScreen* screen = links_.mainWindow->screen();
    screenWindow_->setGeometry(screen ? screen->geometry() : QRect(0, 0, 1024, 768));
    screenWindow_->showFullScreen();
    screenWindow_->activateWindow();
    screenWindow_->setFocus();
    // The picture is fitted to the output's screen as it was to the window.
    if (links_.refit) links_.refit();
    RedrawScreen();
    return true;
}

void PageFlipping::StopScreen() {
    if (!screenWindow_) return;
    autoScrollTimer_.stop();
    autoScroll_.reset();
    win3d_.Close();
    FlipScreenWindow* window = screenWindow_.release();
    window->hide();
    window->deleteLater();
    composer_.Clear();
    if (links_.recompose) links_.recompose();
    if (links_.refit) links_.refit();
    if (links_.mainWindow) links_.mainWindow->activateWindow();
    Ended();
}

void PageFlipping::Ended() {
    if (closeWhenDone_ && !ending_ && links_.mainWindow) {
        closeWhenDone_ = false;
        QMetaObject::invokeMethod(links_.mainWindow, "close", Qt::QueuedConnection);
    }
}

void PageFlipping::Stop() {
    ending_ = true;
    StopOpenGl();
    StopScreen();
    ending_ = false;
}

void PageFlipping::ToggleGlHelp() {
    if (!glWindow_) return;
    glWindow_->ToggleHelp();
    glWindow_->update();
}

void PageFlipping::Closed() {
    // The window was closed from outside (the window manager); end as Esc does.
    if (screenWindow_ && !ending_) QTimer::singleShot(0, [this] { StopScreen(); });
    if (glWindow_ && !ending_) QTimer::singleShot(0, [this] { StopOpenGl(); });
}

std::optional<QSize> PageFlipping::OutputArea() const {
    if (glWindow_) return glWindow_->size();
    if (screenWindow_) return ScreenSize();
    return std::nullopt;
}

QSize PageFlipping::ScreenSize() const {
    if (!screenWindow_) return {};
    if (output_ == PageFlipOutput::Win3d) {
        const ScreenMode mode = PageFlipScreenMode(links_.settings->pageFlipScreenMode);
        return {mode.width, mode.height};
    }
    return screenWindow_->size();
}

QSize PageFlipping::PictureSize() const {
    const DisplayComposer& composer = composer_;
    if (glWindow_) {
        const ImageBuffer& left = links_.document->Left().image;
        const int zoom = links_.document->ZoomPercent();
        return {left.Width() * zoom / 100, left.Height() * zoom / 100};
    }
    return {composer.Width(DisplayComposer::kFirstView),
            composer.Height(DisplayComposer::kFirstView)};
}

void PageFlipping::DisplayChanged() {
    if (screenWindow_) RedrawScreen();
    if (glWindow_) {
        // Textures are loaded again only when a view was replaced or swapped, not when the
        // offset, zoom or scroll changed.
        const ImageBuffer& left = links_.document->Left().image;
        const ImageBuffer& right = links_.document->Right().image;
        const LoadedViews now{left.Data(),   right.Data(),  left.Width(),
                              left.Height(), right.Width(), right.Height()};
        if (now != loaded_) {
            loaded_ = now;
            glWindow_->ReloadTextures();
        }
        RedrawGl();
    }
}

void PageFlipping::RedrawScreen() {
    if (!screenWindow_) return;
    StereoDocument& document = *links_.document;
    // The views side by side, whatever the main window's mode.
    CompositionInput input = links_.input();
    input.mode = DisplayMode::SideBySide;
    composer_.ComposeForDisplay(input);
    const QSize size = ScreenSize();
    const PixelSize screen{size.width(), size.height()};
    const QSize picture = PictureSize();
    const int x =
        ClampOrWrap(document.ScrollX(), picture.width(), screen.width, document.Panorama());
    const int y = ClampOrWrap(document.ScrollY(), picture.height(), screen.height, false);
    document.SetScroll(x, y);
    ImageBuffer left =
        BuildEyeFrame(composer_, DisplayComposer::kFirstView, screen, x, y, document.Panorama());
    ImageBuffer right =
        BuildEyeFrame(composer_, DisplayComposer::kSecondView, screen, x, y, document.Panorama());
    if (win3d_.IsOpen()) win3d_.Present(left, right);

    std::vector<QString> lines;
    if (help_)
        for (const std::string& line : FlipHelpLines(output_))
            lines.push_back(QString::fromStdString(line));
    if (information_ || !message_.empty()) {
        FlipStatusInput in;
        in.pendingMessage = message_;
        in.leftName = document.Left().name;
        in.rightName = document.Right().name;
        in.width = document.Left().image.Width();
        in.height = document.Left().image.Height();
        in.zoomPercent = document.ZoomPercent();
        in.dx = -document.Dx();
        in.dy = -document.Dy();
        in.panorama = document.Panorama();
        in.output = output_;
        lines.push_back(QString::fromStdString(FlipStatusLine(in)));
        message_.clear();
    }
    screenWindow_->SetOverlay(std::move(lines));
    screenWindow_->SetFrames(std::move(left), std::move(right));
}

void PageFlipping::RedrawGl() {
    if (!glWindow_) return;
    const StereoDocument& document = *links_.document;
    GlFrame frame;
    frame.left = &document.Left().image;
    frame.right = &document.Right().image;
    frame.zoomPercent = document.ZoomPercent();
    frame.scrollX = document.ScrollX();
    frame.scrollY = document.ScrollY();
    frame.dx = document.Dx();
    frame.dy = document.Dy();
    frame.panorama = document.Panorama();
    glWindow_->SetFrame(frame);
    glWindow_->update();
}

void PageFlipping::WriteAlignment() {
    if (links_.slideShowRunning && links_.slideShowRunning()) return;
    StereoDocument& document = *links_.document;
    const int ox = document.Dx(), oy = document.Dy();
    const bool swapped = document.Swapped();
    const std::string& path = document.Left().path;
    if (WriteDasAlignment(path, swapped ? ox : -ox, swapped ? -oy : oy))
        message_ = FormatResString(StringId::DasAlignmentWritten, path.c_str(), -ox, -oy);
    else
        message_ = LoadResString(StringId::AlignmentOnlyInDas);
}

void PageFlipping::Key(int key, Qt::KeyboardModifiers modifiers) {
    if (autoScroll_) {
        switch (autoScroll_->Key(key)) {
            case AutoScrollPace::Reply::Continue:
                return;
            case AutoScrollPace::Reply::Swap:
                Send(CmdSwap);
                return;
            case AutoScrollPace::Reply::Panorama:
                Send(CmdPanorama);
                return;
            case AutoScrollPace::Reply::Stop:
                autoScrollTimer_.stop();
                autoScroll_.reset();
                return;
        }
    }
    if (glWindow_) {
        // The main window's keys work in the OpenGL window; I and Shift+I scroll it.
        if (key == Qt::Key_I) {
            StartAutoScroll(modifiers & Qt::ShiftModifier);
            return;
        }
        if (key == Qt::Key_Escape) {
            Send(CmdLeaveFullScreen);
            return;
        }
        if (const auto command = CommandOfKey(key, modifiers)) Send(*command);
        return;
    }
    const FlipKey action = FlipKeyAction(key, modifiers & Qt::ShiftModifier);
    StereoDocument& document = *links_.document;
    switch (action.action) {
        case FlipAction::None:
            return;
        case FlipAction::Close:
            StopScreen();
            return;
        case FlipAction::Command:
            Send(action.command);
            break;
        case FlipAction::SetStep:
            document.SetAlignmentStep(action.step);
            break;
        case FlipAction::StopSlideAndCommand:
            if (links_.slideShowRunning && links_.slideShowRunning()) Send(CmdSlideShow);
            Send(action.command);
            break;
        case FlipAction::ToggleSlideShow:
            Send(CmdSlideShow);
            break;
        case FlipAction::WriteAlignment:
            WriteAlignment();
            break;
        case FlipAction::ToggleHelp:
            help_ = !help_;
            break;
        case FlipAction::ToggleInformation:
            information_ = !information_;
            break;
        case FlipAction::AutoScrollHorizontal:
        case FlipAction::AutoScrollVertical:
            StartAutoScroll(action.action == FlipAction::AutoScrollVertical);
            return;
    }
    RedrawScreen();
}

void PageFlipping::StartAutoScroll(bool vertical) {
    const QSize picture = PictureSize();
    const QSize screen = glWindow_ ? glWindow_->size() : ScreenSize();
    const bool larger =
        vertical ? picture.height() > screen.height() : picture.width() > screen.width();
    if (!larger) return;
    autoScroll_ = std::make_unique<AutoScrollPace>(
        glWindow_ ? AutoScrollPace::Kind::OpenGl : AutoScrollPace::Kind::FullScreen, vertical);
    autoScrollTimer_.start(0);
}

void PageFlipping::AutoScrollTick() {
    if (!autoScroll_) return;
    StereoDocument& document = *links_.document;
    const QSize picture = PictureSize();
    const QSize screen = glWindow_ ? glWindow_->size() : ScreenSize();
    if (autoScroll_->Vertical()) {
        document.SetScroll(
            document.ScrollX(),
            autoScroll_->Step(document.ScrollY(), picture.height(), screen.height(), false));
    } else {
        document.SetScroll(autoScroll_->Step(document.ScrollX(), picture.width(), screen.width(),
                                             document.Panorama()),
                           document.ScrollY());
    }
    if (glWindow_)
        RedrawGl();
    else
        RedrawScreen();
    // A frame's time at least, so that the window draws between the steps.
    autoScrollTimer_.start(std::max(16, autoScroll_->PauseMs()));
}

void PageFlipping::LeftClick() {
    if (autoScroll_) {
        autoScrollTimer_.stop();
        autoScroll_.reset();
    }
}

void PageFlipping::LeftDrag(QPoint delta) {
    StereoDocument& document = *links_.document;
    const QSize picture = PictureSize();
    const QSize screen = glWindow_ ? glWindow_->size() : ScreenSize();
    // The picture follows the mouse: the scroll position moves the other way.
    document.SetScroll(
        ClampOrWrap(document.ScrollX() - delta.x(), picture.width(), screen.width(),
                    document.Panorama()),
        ClampOrWrap(document.ScrollY() - delta.y(), picture.height(), screen.height(), false));
    if (glWindow_)
        RedrawGl();
    else
        RedrawScreen();
}

void PageFlipping::RightDrag(int upward) {
    StereoDocument& document = *links_.document;
    if (glWindow_) {
        document.SetZoomPercent(upward > 0 ? ZoomDragUp(document.ZoomPercent())
                                           : ZoomDragDown(document.ZoomPercent()));
        Send(CmdRefreshStatus);
        RedrawGl();
        return;
    }
    Send(upward > 0 ? CmdZoomIn : CmdZoomOut);
    RedrawScreen();
}

void PageFlipping::DoubleClick(Qt::MouseButton button) {
    if (glWindow_) return;
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    if (links_.slideShowRunning && links_.slideShowRunning()) Send(CmdSlideShow);
    Send(button == Qt::LeftButton ? CmdNextImage : CmdPreviousImage);
}

void PageFlipping::Wheel(int angle) {
    if (angle == 0) return;
    Send(angle > 0 ? CmdZoomIn : CmdZoomOut);
    if (!glWindow_) RedrawScreen();
}

}  // namespace duplora

// The edit commands that change the pair's size: the trims chosen in the view (free,
// preset, custom), the cut that ends each of them, and resizing both views.
#pragma once

#include <QSize>

#include "app/image/trim_resize.h"
#include "core/shell/command_ids.h"
#include "core/util/progress.h"

class QWidget;

namespace duplora {

class DialogHost;
class SettingsStore;
class StereoDocument;
class ViewWidget;
struct Settings;

class TrimCommands {
  public:
    // Resizing reports to `progress`.
    TrimCommands(QWidget* parent, DialogHost& host, StereoDocument& document, ViewWidget& view,
                 Settings& settings, SettingsStore& store, const Progress& progress = NoProgress());

    enum class Outcome {
        NotMine,  // not one of these commands
        Done,     // handled; the pictures are unchanged
        Edited,   // the pictures were replaced (the window re-applies its fit)
    };
    Outcome Execute(CommandId command);

    // The resize dialog's values as they will show next time.
    const ResizeChoice& LastResize() const { return resize_; }
    // The size the running or last trim was started with.
    QSize TrimSize() const { return trimSize_; }

  private:
    void StartFree();
    void StartSized(QSize size, bool rescale, CommandId trigger);
    void StartCustom();
    bool Cut(bool scale);
    bool Resize();
    QSize LeftSize() const;
    QSize Reference() const;

    QWidget* parent_;
    DialogHost& host_;
    StereoDocument& document_;
    ViewWidget& view_;
    Settings& settings_;
    SettingsStore& store_;
    const Progress& progress_;
    ResizeChoice resize_;
    QSize trimSize_;
};

}  // namespace duplora

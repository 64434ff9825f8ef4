#include <QApplication>
#include <QLabel>
#include <QPixmap>

#include "app/image/qimage_bridge.h"
#include "app/shell/sample_pair.h"
#include "core/stereo/compose.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Duplora");

    // Until the main window takes over: the bundled pair, side by side.
    duplora::SamplePair pair = duplora::MakeSamplePair();
    duplora::CompositionInput input;
    input.first = &pair.left;
    input.second = &pair.right;
    const duplora::ImageBuffer composed = duplora::ComposeForOutput(input, 0, 0, 0);

    QLabel view;
    view.setWindowTitle("Duplora");
    view.setPixmap(QPixmap::fromImage(duplora::QImageFromImageBuffer(composed)));
    view.show();
    return app.exec();
}

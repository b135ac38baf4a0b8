// vandrel-fractal: draws a shape of known box-counting dimension into a picture, to
// check a measurement against.

#include <QCoreApplication>
#include <QImageWriter>

#include <iostream>
#include <string>
#include <vector>

#include "app/fractal/fractal_options.h"
#include "app/fractal/mask_image.h"
#include "app/fractal/photo_image.h"
#include "graph/core/error.h"

namespace {

constexpr const char* kProgram = "vandrel-fractal";

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    QCoreApplication application(argc, argv); // finds Qt's picture format plugins
    TFractalOptions options;
    try {
        options = ParseFractalOptions(arguments);
    } catch (const TVandrelError& error) {
        std::cerr << kProgram << ": " << error.what() << "\nTry '" << kProgram << " --help' for more information.\n";
        return 2;
    }
    if (options.Help) {
        std::cout << FractalUsage() << std::flush;
        return std::cout ? 0 : 1;
    }

    const TReferenceShape& shape = *options.Shape;
    const TPixelMask mask = WithMargin(shape.Draw(options.Size, options.Line), options.MarginX, options.MarginY);
    const QImage image = options.Noise ? PhotoImage(mask, *options.Noise) : MaskImage(mask);
    QImageWriter writer(QString::fromLocal8Bit(options.Output.c_str()));
    if (image.isNull() || !writer.write(image)) {
        std::cerr << kProgram << ": " << options.Output << " could not be written: "
                  << (image.isNull() ? std::string("not enough memory for the picture")
                                     : writer.errorString().toStdString())
                  << '\n';
        return 1;
    }
    return 0;
}

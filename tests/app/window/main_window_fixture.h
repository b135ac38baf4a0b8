#pragma once

// The main window with scripted dialogs, as the window tests drive it.

#include "app/window/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QHeaderView>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <random>

#include "app/window/about_box.h"
#include "app/window/counting_progress.h"
#include "app/window/graph_setup.h"
#include "graph/control/files/form_description.h"
#include "graph/control/files/graph_stream.h"
#include "graph/stream/memory_stream.h"
#include "tests/app/picture/metafile_samples.h"
#include "tests/app/spreadsheet/xlsx_reader.h"
#include "tests/app/window/scripted_dialogs.h"

// Readable failures for Qt's strings.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlack = 0xFF000000;
constexpr TColor kRedColour = 0x0000FF;
const char* const kNotABitmap = "Can only modify an image if it contains a bitmap";

class MainWindow : public testing::Test {
protected:
    MainWindow() : FAbout(FDialogs), FForm(FDialogs, FAbout)
    {
        TMetafileConverter converter;
        converter.SetProgram(VANDREL_METAFILE);
        FForm.Image1->SetMetafileConverter(converter);
    }

    QString WritePicture(const QString& name, QSize size, QRgb colour)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = FFolder.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QString WriteBytes(const QString& name, const QByteArray& bytes)
    {
        const QString path = FFolder.filePath(name);
        WriteFile(path, bytes);
        return path;
    }

    void Open(const QString& path)
    {
        FDialogs.OpenAnswers.push_back(path);
        FForm.BitBtn1->click();
    }

    // Opens a picture and analyses it for the colour, with the sizes given.
    void Analyse(const QString& path, TColor colour, int minimum = 10, int maximum = 100, int increment = 10)
    {
        Open(path);
        FForm.SpinEdit1->SetValue(minimum);
        FForm.SpinEdit2->SetValue(maximum);
        FForm.SpinEdit3->SetValue(increment);
        FDialogs.ColourAnswers.push_back(colour);
        FForm.BitBtn3->click();
    }

    QRgb Pixel(int x, int y) { return FForm.Image1->Picture().Bitmap().pixel(x, y); }

    QStringList Column(int column)
    {
        QStringList texts;
        for (int row = 0; row < FForm.StringGrid1->RowCount(); ++row)
            texts << FForm.StringGrid1->Cell(column, row);
        return texts;
    }

    // Everything of the results a user sees or can save, to compare before and after.
    struct TShownResults {
        QString PictureFile;
        QString Caption;
        QStringList Labels;
        TTextTable Table;
        std::vector<std::pair<double, double>> Points;
        std::string GraphTitle;
        bool Savable = false;
        bool GraphShown = false;
        bool operator==(const TShownResults&) const = default;
        friend void PrintTo(const TShownResults& shown, std::ostream* out)
        {
            *out << shown.PictureFile.toStdString() << " | " << shown.Labels.join(" | ").toStdString() << " | "
                 << shown.Table.size() << " rows, " << shown.Points.size() << " points, " << shown.GraphTitle
                 << (shown.Savable ? ", savable" : "") << (shown.GraphShown ? ", graph shown" : "");
        }
    };
    TShownResults Shown()
    {
        std::vector<std::pair<double, double>> points;
        for (const TDataPoint& point : FForm.Zemplot1->Series(1).Points())
            points.emplace_back(point.X, point.Y);
        return {FForm.PictureFile(),
                FForm.windowTitle(),
                {FForm.StaticText1->text(), FForm.StaticText2->text(), FForm.StaticText7->text(),
                 FForm.StaticText3->text()},
                FForm.StringGrid1->Texts(),
                points,
                FForm.Zemplot1->Appearance().GraphTitle(),
                FForm.BitBtn4->isEnabled(),
                !FForm.Zemplot1->isHidden()};
    }

    // Saves the results through "SaveTable" and reads the workbook back.
    TWorkbookContents Save(const QString& name)
    {
        const QString workbook = FFolder.filePath(name);
        FDialogs.SaveAnswers.push_back(workbook);
        FForm.BitBtn4->click();
        EXPECT_TRUE(FDialogs.Errors.isEmpty()) << FDialogs.Errors.join(";").toStdString();
        return ReadWorkbook(workbook);
    }

    QTemporaryDir FFolder;
    TScriptedDialogs FDialogs;
    TAboutBox FAbout;
    TForm1 FForm;
};

}  // namespace

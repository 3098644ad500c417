// The SVG printer: one picture file per job, in the job's orientation.
#include <gtest/gtest.h>

#include <QSvgRenderer>

#include "platform/svg_printer.h"
#include "support/temp_folder.h"

TEST(SvgPrinter, EachJobIsOnePictureOfItsPage) {
    testing_support::TempFolder folder;
    platform::SvgPrinter printer(150);
    printer.SetOrientation(platform::Orientation::Landscape);
    EXPECT_EQ(QSize(printer.PageWidth(), printer.PageHeight()), QSize(1754, 1240));  // A4
    printer.SetFile(folder.File("a.svg"));
    printer.BeginDoc();
    printer.PageCanvas().SetBrush(Qt::red);
    printer.PageCanvas().Rectangle(100, 100, 600, 400);
    EXPECT_THROW(printer.NewPage(), platform::PrinterError);
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());

    QSvgRenderer picture(folder.File("a.svg"));
    ASSERT_TRUE(picture.isValid());
    EXPECT_EQ(picture.viewBox(), QRect(0, 0, 1754, 1240));

    printer.SetFile(folder.File("brak/b.svg"));
    EXPECT_THROW(printer.BeginDoc(), platform::PrinterError);
    EXPECT_FALSE(printer.Printing());
}

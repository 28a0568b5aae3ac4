// The program icon and the toolbar images: every one is in the resource file and is a
// well-formed 16 x 16 SVG drawing.

#include <gtest/gtest.h>

#include <QFile>
#include <QXmlStreamReader>

namespace {

TEST(Icons, EachIsWellFormedSixteenPixelSvg) {
    for (const char* name : {"ondrix", "new", "open", "zoom_in", "zoom_out", "cls", "draw", "reset",
                             "unused", "save"}) {
        QFile file(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        QXmlStreamReader xml(&file);
        ASSERT_TRUE(xml.readNextStartElement()) << name;
        EXPECT_EQ(xml.name(), QLatin1String("svg")) << name;
        EXPECT_EQ(xml.attributes().value("viewBox"), QLatin1String("0 0 16 16")) << name;
        int shapes = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement) ++shapes;
        }
        EXPECT_FALSE(xml.hasError()) << name << ": " << xml.errorString().toStdString();
        EXPECT_GT(shapes, 0) << name;
    }
}

}  // namespace

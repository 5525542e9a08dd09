#include "output/PaintPicture.h"

#include "forms/FormPicture.h"
#include "forms/ObjectReader.h"
#include "output/PageStore.h"
#include "output/PictureCanvas.h"
#include "output/PictureFiles.h"
#include "platform/MessageBox.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <string>

using namespace pembrill;
using pembrill::test::TempDir;

namespace {

FormPicture PictureOfForm(const std::string& text) {
    TempDir dir;
    RecordingMessageSink messages;
    ScopedMessageSink install(messages);
    ObjectTree tree;
    ReadTextFormFile(dir.Write("Unit1.txt", text), tree);
    return BuildFormPicture(tree, 1);
}

std::string FileOf(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

// Pixels that differ by more than a glyph's edge does from one machine's
// fonts to another's.
double DifferingShare(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int most = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                       std::abs(qBlue(p) - qBlue(q))});
            differing += most > 64;
        }
    }
    return static_cast<double>(differing) / (a.width() * a.height());
}

struct GoldenForm {
    const char* Name;
    const char* Form;
};

const GoldenForm GoldenForms[] = {
    {"standard", R"(object Form1: TForm1
  Left = 0
  Top = 0
  Width = 320
  Height = 240
  Caption = 'Standard'
  Menu = MainMenu1
  object Label1: TLabel
    Left = 8
    Top = 8
    Width = 40
    Height = 13
    Caption = 'Name'
  end
  object Edit1: TEdit
    Left = 60
    Top = 4
    Width = 120
    Height = 21
    Text = 'Edit1'
  end
  object CheckBox1: TCheckBox
    Left = 8
    Top = 34
    Width = 97
    Height = 17
    Caption = 'Checked'
    State = cbChecked
  end
  object RadioButton1: TRadioButton
    Left = 120
    Top = 34
    Width = 97
    Height = 17
    Caption = 'Chosen'
    Checked = True
  end
  object ListBox1: TListBox
    Left = 8
    Top = 60
    Width = 100
    Height = 60
    Items.Strings = (
      'One'
      'Two')
  end
  object GroupBox1: TGroupBox
    Left = 120
    Top = 60
    Width = 180
    Height = 80
    Caption = 'Group'
    object Button1: TButton
      Left = 12
      Top = 24
      Width = 75
      Height = 25
      Caption = '&OK'
    end
    object ComboBox1: TComboBox
      Left = 12
      Top = 52
      Width = 150
      Height = 21
      Text = 'Combo'
    end
  end
  object ScrollBar1: TScrollBar
    Left = 8
    Top = 150
    Width = 290
    Height = 16
  end
  object MainMenu1: TMainMenu
    Left = 264
    Top = 8
    object File1: TMenuItem
      Caption = '&File'
    end
  end
end
)"},
    {"win95", R"(object Form1: TForm1
  Width = 320
  Height = 240
  Caption = 'Win95'
  object PageControl1: TPageControl
    Left = 8
    Top = 8
    Width = 296
    Height = 120
    ActivePage = TabSheet2
    object TabSheet1: TTabSheet
      Caption = 'First'
    end
    object TabSheet2: TTabSheet
      Caption = 'Second'
      object TrackBar1: TTrackBar
        Left = 8
        Top = 8
        Width = 150
        Height = 45
      end
    end
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 194
    Width = 312
    Height = 19
    Panels = <
      item
        Text = 'Ready'
        Width = 80
      end
      item
        Text = 'Two'
        Width = 50
      end>
  end
  object DBNavigator1: TDBNavigator
    Left = 8
    Top = 136
    Width = 240
    Height = 25
  end
end
)"},
};

} // namespace

// Golden pictures of small forms, compared with room for fonts that differ
// by machine. PEMBRILL_UPDATE_PICTURES=1 writes them anew (look at them!).
TEST(PaintPictureTest, FormsLookAsTheirGoldenPictures) {
    for (const GoldenForm& golden : GoldenForms) {
        SCOPED_TRACE(golden.Name);
        const QImage drawn = RenderPicture(PictureStore(PictureOfForm(golden.Form)))
                                 .convertToFormat(QImage::Format_RGB32);
        const QString path = QStringLiteral(PICTURES_DIR "/%1.png").arg(golden.Name);
        if (std::getenv("PEMBRILL_UPDATE_PICTURES")) {
            drawn.save(path);
            continue;
        }
        const QImage expected = QImage(path).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(drawn.size(), expected.size());
        EXPECT_LT(DifferingShare(drawn, expected), 0.03);
    }
}

// Whatever image data a form holds, the control shows an empty frame naming
// the image's class unless a whole image of sane dimensions decodes.
TEST(PaintPictureTest, ImagesThatDoNotDecodeGiveAnEmptyFrame) {
    QImage small(4, 3, QImage::Format_RGB32);
    small.fill(Qt::red);
    const std::string bitmap = FileOf(small, "BMP");
    const std::string png = FileOf(small, "PNG");
    std::string huge = bitmap;
    // BITMAPINFOHEADER's width and height: 30000 by 30000.
    for (const size_t at : {size_t(18), size_t(22)}) {
        huge[at] = '\x30';
        huge[at + 1] = '\x75';
        huge[at + 2] = huge[at + 3] = '\0';
    }
    std::string brokenPng = png;
    // IHDR's width and height, 2^24 by 2^24, no longer what its CRC says.
    brokenPng.replace(16, 8, std::string("\x01\x00\x00\x00\x01\x00\x00\x00", 8));
    const struct {
        const char* Title;
        PictureImage Image;
        bool Decodes;
    } cases[] = {
        {"bitmap", {"TBitmap", ImageFormat::Bitmap, bitmap}, true},
        {"png", {"TPngImage", ImageFormat::Png, png}, true},
        {"truncated bitmap", {"TBitmap", ImageFormat::Bitmap, bitmap.substr(0, 40)}, false},
        {"truncated png", {"TPngImage", ImageFormat::Png, png.substr(0, png.size() / 2)}, false},
        {"huge bitmap", {"TBitmap", ImageFormat::Bitmap, huge}, false},
        {"png with a broken header", {"TPngImage", ImageFormat::Png, brokenPng}, false},
        {"metafile", {"TMetafile", ImageFormat::Metafile, bitmap}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title);
        EXPECT_EQ(!DecodePictureImage(c.Image).isNull(), c.Decodes);
        FormPicture picture;
        picture.Elements.resize(2);
        picture.Elements[0].Kind = PictureKind::Frame;
        picture.Elements[0].Bounds = picture.Elements[0].Client = {0, 0, 60, 40};
        picture.Elements[1] = {.Parent = 0, .Kind = PictureKind::Image, .Bounds = {0, 0, 60, 40}};
        picture.Elements[1].Image = c.Image;
        const PageStore store = PictureStore(picture);
        const StoredPage& page = store.Page(0);
        const bool hasImage = std::any_of(page.Shapes.begin(), page.Shapes.end(),
                                          [](auto& s) { return s.Kind == ShapeKind::Image; });
        EXPECT_EQ(hasImage, c.Decodes);
        EXPECT_EQ(page.Texts.size() == 1 && page.TextOf(page.Texts[0]) == c.Image.ClassName,
                  !c.Decodes);
    }
}

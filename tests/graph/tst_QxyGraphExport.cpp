#include "GraphTestUtil.h"

#include "graph/QxyGraphJpeg.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QTemporaryDir>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

using namespace GraphTest;

namespace
{

std::unique_ptr<TQxyGraph> TracedGraph()
{
    auto g = MakeGraph(485, 243);
    g->XAxis()->SetMin(-1000);
    g->XAxis()->SetMax(0);
    TSeries *s = g->GetSeriesInt(1);
    s->Add(-900, 30);
    s->Add(-100, 30);
    return g;
}

struct TDecodeError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void DecodeErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<TDecodeError *>(cinfo->err)->jump, 1);
}

struct TDecoded {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    bool progressive = true;
    std::vector<int> luma, chroma; // quantisation tables in natural order
    std::vector<unsigned char> rgb;
};

// Reads a JPEG file back with libjpeg itself.
TDecoded Decode(const QString &fname)
{
    TDecoded out;
    std::FILE *file = std::fopen(QFile::encodeName(fname).constData(), "rb");
    if (!file)
        return out;
    jpeg_decompress_struct cinfo;
    TDecodeError err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = DecodeErrorExit;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
        out.ok = false;
        return out;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    for (int k = 0; k < DCTSIZE2; ++k) {
        out.luma.push_back(cinfo.quant_tbl_ptrs[0] ? cinfo.quant_tbl_ptrs[0]->quantval[k] : -1);
        out.chroma.push_back(cinfo.quant_tbl_ptrs[1] ? cinfo.quant_tbl_ptrs[1]->quantval[k] : -1);
    }
    out.progressive = cinfo.progressive_mode;
    out.components = cinfo.num_components;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out.width = static_cast<int>(cinfo.output_width);
    out.height = static_cast<int>(cinfo.output_height);
    out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.rgb.data() + static_cast<size_t>(cinfo.output_scanline) * out.width * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    out.ok = true;
    return out;
}

// The example tables of the JPEG standard, natural order, scaled the way
// the library scales them for a quality.
std::vector<int> ScaledTable(const int (&base)[64], int quality)
{
    const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
    std::vector<int> t;
    for (int v : base)
        t.push_back(std::clamp((v * scale + 50) / 100, 1, 255));
    return t;
}

const int LumaBase[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                          14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                          18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                          49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
const int ChromaBase[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
                            99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                            99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

QString Unwritable(const QTemporaryDir &dir, const char *name)
{
    return dir.filePath(QStringLiteral("missing-folder/") + QString::fromLatin1(name));
}

} // namespace

TEST(GraphExport, BitmapFileHasTheOuterSizeAndTheDrawing)
{
    QTemporaryDir dir;
    auto g = TracedGraph();
    const QString fname = dir.filePath(QStringLiteral("graph.bmp"));
    g->SaveToBitmap(fname);
    QFile f(fname);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(2), QByteArray("BM"));
    f.close();
    const QImage read(fname, "BMP");
    EXPECT_EQ(read.size(), QSize(487, 245));
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), Render(*g));
}

TEST(GraphExport, JpegIsEncodedAtQuality80)
{
    QTemporaryDir dir;
    auto g = TracedGraph();
    const QString fname = dir.filePath(QStringLiteral("graph.jpg"));
    g->SaveToJPeg(fname);
    const TDecoded jpg = Decode(fname);
    ASSERT_TRUE(jpg.ok);
    EXPECT_EQ(jpg.width, 487);
    EXPECT_EQ(jpg.height, 245);
    EXPECT_EQ(jpg.components, 3);
    EXPECT_FALSE(jpg.progressive);
    EXPECT_EQ(jpg.luma, ScaledTable(LumaBase, 80));
    EXPECT_EQ(jpg.chroma, ScaledTable(ChromaBase, 80));
    // The picture survives the round trip: margin colour in a corner.
    const unsigned char *corner = jpg.rgb.data() + (5 * 487 + 5) * 3;
    EXPECT_NEAR(corner[0], Margin.red(), 6);
    EXPECT_NEAR(corner[1], Margin.green(), 6);
    EXPECT_NEAR(corner[2], Margin.blue(), 6);
}

TEST(GraphExport, UnwritableFilesRaiseErrorsNamingThem)
{
    QTemporaryDir dir;
    auto g = TracedGraph();
    for (const char *name : {"graph.bmp", "graph.jpg"}) {
        const QString fname = Unwritable(dir, name);
        try {
            if (QString::fromLatin1(name).endsWith(QLatin1String("bmp")))
                g->SaveToBitmap(fname);
            else
                g->SaveToJPeg(fname);
            ADD_FAILURE() << "no error for " << name;
        } catch (const EQuentaError &e) {
            EXPECT_TRUE(e.Message().contains(name)) << e.what();
        }
        EXPECT_FALSE(QFile::exists(fname));
    }
}

TEST(GraphExport, FullDeviceRaisesInsteadOfReportingSuccess)
{
    if (!QFileInfo(QStringLiteral("/dev/full")).exists())
        GTEST_SKIP() << "no /dev/full";
    auto g = TracedGraph();
    EXPECT_THROW(g->SaveToBitmap(QStringLiteral("/dev/full")), EQuentaError);
    EXPECT_THROW(g->SaveToJPeg(QStringLiteral("/dev/full")), EQuentaError);
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists());
}

TEST(GraphExport, EncoderFailureRaisesInsteadOfEndingTheProgram)
{
    QTemporaryDir dir;
    const QString fname = dir.filePath(QStringLiteral("huge.jpg"));
    QImage tooWide(65501, 1, QImage::Format_RGB32); // beyond the format's limit
    tooWide.fill(Qt::white);
    try {
        WriteJpegFile(tooWide, fname, 80);
        ADD_FAILURE() << "no error";
    } catch (const EQuentaError &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("huge.jpg"))) << e.what();
    }
    EXPECT_FALSE(QFile::exists(fname));
}

TEST(GraphExport, ClipboardGetsTheBitmap)
{
    auto g = TracedGraph();
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    g->CopyToClipboard();
    const QImage img = clipboard->image();
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), g->size());
    EXPECT_EQ(img.convertToFormat(QImage::Format_RGB32), Render(*g));
}

TEST(GraphExport, MetafileReplaysToTheSameDrawing)
{
    auto g = TracedGraph();
    QPicture wmf;
    g->FillMetafile(wmf);
    EXPECT_EQ(wmf.boundingRect(), QRect(0, 0, 487, 245));
    QImage replay(g->size(), QImage::Format_RGB32);
    replay.fill(Margin);
    {
        QPainter p(&replay);
        wmf.play(&p);
    }
    const QImage direct = Render(*g);
    // Same drawing commands: the lines and background match exactly.
    EXPECT_EQ(CountColor(replay, Red), CountColor(direct, Red));
    EXPECT_EQ(CountColor(replay, Backgr), CountColor(direct, Backgr));
    EXPECT_EQ(At(replay, 50, 100), Axes);
}

TEST(GraphExport, PageFitAnchoredTopLeft)
{
    auto g = TracedGraph(); // outer 487 x 245
    QImage page(1000, 1500, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter p(&page);
        g->PrintOnPage(p);
    }
    EXPECT_FALSE(g->Painting());
    // 245 * 1000 / 487 = 503.08: a 1000 x 503 rectangle.
    EXPECT_EQ(At(page, 999, 0), Margin);
    EXPECT_EQ(At(page, 0, 502), Margin);
    EXPECT_EQ(At(page, 999, 502), Margin);
    EXPECT_EQ(At(page, 0, 503), QColor(Qt::white));
    EXPECT_EQ(At(page, 500, 900), QColor(Qt::white));
    EXPECT_GT(CountColor(page, Red), 1000);
}

TEST(GraphExport, PrintsIntoAPdfFile)
{
    QTemporaryDir dir;
    auto g = TracedGraph();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString fname = dir.filePath(QStringLiteral("graph.pdf"));
    printer.setOutputFileName(fname);
    g->Print(printer);
    QFile f(fname);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 1);
    EXPECT_TRUE(pdf.contains("/Subtype /Image"));
    EXPECT_FALSE(g->Painting());
}

TEST(GraphExport, PrintToAnUnwritableFileRaises)
{
    QTemporaryDir dir;
    auto g = TracedGraph();
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString fname = Unwritable(dir, "graph.pdf");
    printer.setOutputFileName(fname);
    try {
        g->Print(printer);
        ADD_FAILURE() << "no error";
    } catch (const EQuentaError &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("graph.pdf"))) << e.what();
    }
}

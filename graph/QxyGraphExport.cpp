#include "graph/QxyGraph.h"
#include "graph/QxyGraphJpeg.h"
#include "graph/QxyGraphMath.h"

#include "platform/Errors.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPicture>
#include <QPrinter>

namespace
{
constexpr int JpegQuality = 80;

[[noreturn]] void CannotWrite(const QString &fname)
{
    throw EQuentaError(QStringLiteral("Cannot write file \"%1\".").arg(QDir::toNativeSeparators(fname)));
}
} // namespace

QImage TQxyGraph::MakeBitmap()
{
    QImage bmp(width(), height(), QImage::Format_RGB32);
    if (bmp.isNull())
        return bmp;
    bmp.fill(FAppearance->MarginColor());
    FillBitmap(bmp);
    return bmp;
}

void TQxyGraph::FillBitmap(QImage &bmp)
{
    if (bmp.isNull())
        return;
    QImage temp(bmp.size(), QImage::Format_RGB32);
    temp.fill(FAppearance->MarginColor());
    {
        QPainter canvas(&temp);
        DrawGraph(canvas, true);
    }
    QPainter target(&bmp);
    target.drawImage(0, 0, temp);
}

void TQxyGraph::CopyToClipboard()
{
    if (FPainting)
        return;
    const QImage bmp = MakeBitmap();
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setImage(bmp);
}

void TQxyGraph::SaveToBitmap(const QString &fname)
{
    const QImage bmp = MakeBitmap();
    QFile file(fname);
    if (bmp.isNull() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        CannotWrite(fname);
    QImageWriter writer(&file, "BMP");
    // A full disk shows only when the buffer is flushed.
    const bool written = writer.write(bmp) && file.flush() && file.error() == QFileDevice::NoError;
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        if (QFileInfo(fname).isFile())
            file.remove();
        CannotWrite(fname);
    }
}

void TQxyGraph::SaveToJPeg(const QString &fname)
{
    WriteJpegFile(MakeBitmap(), fname, JpegQuality);
}

void TQxyGraph::FillMetafile(QPicture &wmf)
{
    QPicture picture;
    picture.setBoundingRect(QRect(0, 0, width(), height()));
    QPainter canvas(&picture);
    DrawGraph(canvas, true);
    canvas.end();
    wmf = picture;
}

void TQxyGraph::Print(QPrinter &printer)
{
    const QString target = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    const QString failure = QStringLiteral("Cannot print to \"%1\".").arg(QDir::toNativeSeparators(target));
    QPainter page;
    if (!page.begin(&printer))
        throw EQuentaError(failure);
    PrintOnPage(page);
    if (!page.end())
        throw EQuentaError(failure);
}

void TQxyGraph::PrintOnPage(QPainter &page)
{
    FPainting = true;
    const QImage bmp = MakeBitmap();
    try {
        QPaintDevice *device = page.device();
        if (device && !bmp.isNull()) {
            const auto fit = QxyMath::FitToPage(bmp.width(), bmp.height(), device->width(), device->height());
            if (fit)
                page.drawImage(QRect(0, 0, static_cast<int>(fit->Width), static_cast<int>(fit->Height)), bmp);
        }
    } catch (...) {
        // The page stays as it was.
    }
    FPainting = false;
}

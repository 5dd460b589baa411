#include "graph/QxyGraphJpeg.h"

#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace
{

// libjpeg's own handler ends the process; ours returns to the encoder.
struct TJpegError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<TJpegError *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void JpegOutputMessage(j_common_ptr) {}

// Plain C-style body: nothing with a destructor lives across setjmp.
bool Encode(std::FILE *file, const unsigned char *rgb, int width, int height, int quality, char *message)
{
    jpeg_compress_struct cinfo;
    TJpegError err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JpegErrorExit;
    err.pub.output_message = JpegOutputMessage;
    err.message[0] = '\0';
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = static_cast<size_t>(width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + stride * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

[[noreturn]] void Fail(const QString &fname, const QString &why)
{
    throw EQuentaError(QStringLiteral("Cannot write file \"%1\": %2").arg(QDir::toNativeSeparators(fname), why));
}

} // namespace

void WriteJpegFile(const QImage &image, const QString &fname, int quality)
{
    if (image.isNull())
        Fail(fname, QStringLiteral("empty image"));
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width();
    const int height = rgb.height();
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * 3 * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        std::copy_n(rgb.constScanLine(y), static_cast<size_t>(width) * 3,
                    pixels.data() + static_cast<size_t>(y) * width * 3);

    const QByteArray path = QFile::encodeName(fname);
    std::FILE *file = std::fopen(path.constData(), "wb");
    if (!file)
        Fail(fname, QString::fromLocal8Bit(std::strerror(errno)));
    char message[JMSG_LENGTH_MAX] = {};
    const bool encoded = Encode(file, pixels.data(), width, height, quality, message);
    const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
    const int closeFailed = std::fclose(file);
    if (!encoded || !flushed || closeFailed != 0) {
        if (QFileInfo(fname).isFile())
            QFile::remove(fname); // a truncated image is worse than none
        Fail(fname, encoded ? QStringLiteral("write error") : QString::fromLocal8Bit(message));
    }
}

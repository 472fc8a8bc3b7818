#include "platform/PictureSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "files/WholeFiles.h"

namespace {

// The library's fatal errors come back here instead of ending the program.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void LeaveOnError(j_common_ptr codec)
{
    auto* trap = reinterpret_cast<ErrorTrap*>(codec->err);
    trap->manager.format_message(codec, trap->message);
    std::longjmp(trap->jump, 1);
}

void IgnoreWarning(j_common_ptr) {}

// Plain C-style body: nothing with a destructor lives across the setjmp.
bool Compress(const uint8_t* rgb, int width, int height, int bytesPerLine, unsigned char** out,
              unsigned long* size, char* message)
{
    jpeg_compress_struct codec;
    ErrorTrap trap;
    codec.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = LeaveOnError;
    trap.manager.output_message = IgnoreWarning;
    trap.message[0] = '\0';
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&codec);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", trap.message);
        return false;
    }
    jpeg_create_compress(&codec);
    jpeg_mem_dest(&codec, out, size);
    codec.image_width = JDIMENSION(width);
    codec.image_height = JDIMENSION(height);
    codec.input_components = 3;
    codec.in_color_space = JCS_RGB;
    jpeg_set_defaults(&codec);
    jpeg_set_quality(&codec, kJpegQuality, TRUE);
    jpeg_start_compress(&codec, TRUE);
    while (codec.next_scanline < codec.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + size_t(codec.next_scanline) * size_t(bytesPerLine));
        jpeg_write_scanlines(&codec, &row, 1);
    }
    jpeg_finish_compress(&codec);
    jpeg_destroy_compress(&codec);
    return true;
}

QString FailureText(const QString& path, const QString& reason)
{
    return QStringLiteral("画像ファイルを保存できません:") + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()) +
           QStringLiteral("\n") + reason;
}

}  // namespace

bool EncodeJpeg(const uint8_t* rgb, int width, int height, int bytesPerLine, std::vector<uint8_t>& jpeg,
                std::string& error)
{
    unsigned char* out = nullptr;
    unsigned long size = 0;
    char message[JMSG_LENGTH_MAX] = {};
    const bool encoded = Compress(rgb, width, height, bytesPerLine, &out, &size, message);
    if (encoded)
        jpeg.assign(out, out + size);
    else
        error = message;
    std::free(out);
    return encoded;
}

QString SaveJpegFile(const QImage& picture, const QString& path)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    std::vector<uint8_t> jpeg;
    std::string error;
    if (!EncodeJpeg(rgb.constBits(), rgb.width(), rgb.height(), int(rgb.bytesPerLine()), jpeg, error))
        return FailureText(path, QString::fromLocal8Bit(error.c_str()));

    std::string reason;
    if (WriteWholeFile(QFile::encodeName(path).toStdString(), jpeg.data(), jpeg.size(), reason) !=
        FileWriteResult::Written)
        return FailureText(path, QString::fromLocal8Bit(reason.c_str()));
    return QString();
}

QString SavePngFile(const QImage& picture, const QString& path, const std::string& key, const std::string& text)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    PictureFileWriter file(QFile::encodeName(path).toStdString(), PictureFormat::Png, rgb.width(), rgb.height(), key,
                           text);
    std::string reason;
    if (file.Open(reason) != FileWriteResult::Written)
        return FailureText(path, QString::fromLocal8Bit(reason.c_str()));
    for (int y = 0; y < rgb.height(); ++y)
        if (!file.WriteRows(rgb.constScanLine(y), 1))
            break;
    if (file.Finish(reason) != FileWriteResult::Written)
        return FailureText(path, QString::fromLocal8Bit(reason.c_str()));
    return QString();
}

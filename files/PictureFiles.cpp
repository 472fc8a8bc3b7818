#include "files/PictureFiles.h"

#include <algorithm>
#include <cctype>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>
#include <png.h>

namespace {

constexpr size_t kJpegBufferSize = 64 * 1024;

}  // namespace

// The libraries' state. Their fatal errors jump back into the call that
// raised them; those calls are plain C-style, with nothing to destroy.
struct PictureFileWriter::Encoder {
    // Where the encoded bytes go: a file as they come, or memory.
    std::function<bool(const void*, size_t)> sink;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = {};

    jpeg_compress_struct jpeg{};
    jpeg_error_mgr jpegErrors{};
    jpeg_destination_mgr jpegOut{};
    std::vector<JOCTET> jpegBuffer;
    bool jpegMade = false;

    png_structp png = nullptr;
    png_infop pngInfo = nullptr;

    Encoder() = default;
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
    ~Encoder()
    {
        if (jpegMade)
            jpeg_destroy_compress(&jpeg);
        if (png)
            png_destroy_write_struct(&png, &pngInfo);
    }
};

namespace {

using Encoder = PictureFileWriter::Encoder;

Encoder* EncoderOf(j_common_ptr codec) { return static_cast<Encoder*>(codec->client_data); }

void JpegFail(j_common_ptr codec)
{
    Encoder* e = EncoderOf(codec);
    codec->err->format_message(codec, e->message);
    std::longjmp(e->jump, 1);
}

void JpegQuiet(j_common_ptr) {}

void JpegStartOutput(j_compress_ptr codec)
{
    Encoder* e = EncoderOf(reinterpret_cast<j_common_ptr>(codec));
    codec->dest->next_output_byte = e->jpegBuffer.data();
    codec->dest->free_in_buffer = e->jpegBuffer.size();
}

boolean JpegFlush(j_compress_ptr codec)
{
    Encoder* e = EncoderOf(reinterpret_cast<j_common_ptr>(codec));
    if (!e->sink(e->jpegBuffer.data(), e->jpegBuffer.size()))
        ERREXIT(codec, JERR_FILE_WRITE);
    JpegStartOutput(codec);
    return TRUE;
}

void JpegEndOutput(j_compress_ptr codec)
{
    Encoder* e = EncoderOf(reinterpret_cast<j_common_ptr>(codec));
    const size_t used = e->jpegBuffer.size() - codec->dest->free_in_buffer;
    if (!e->sink(e->jpegBuffer.data(), used))
        ERREXIT(codec, JERR_FILE_WRITE);
}

bool JpegStart(Encoder* e, int width, int height)
{
    e->jpeg.err = jpeg_std_error(&e->jpegErrors);
    e->jpegErrors.error_exit = JpegFail;
    e->jpegErrors.output_message = JpegQuiet;
    e->jpeg.client_data = e;
    if (setjmp(e->jump))
        return false;
    jpeg_create_compress(&e->jpeg);
    e->jpegMade = true;
    e->jpegBuffer.resize(kJpegBufferSize);
    e->jpegOut.init_destination = JpegStartOutput;
    e->jpegOut.empty_output_buffer = JpegFlush;
    e->jpegOut.term_destination = JpegEndOutput;
    e->jpeg.dest = &e->jpegOut;
    e->jpeg.image_width = JDIMENSION(width);
    e->jpeg.image_height = JDIMENSION(height);
    e->jpeg.input_components = 3;
    e->jpeg.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e->jpeg);
    jpeg_set_quality(&e->jpeg, kJpegQuality, TRUE);
    jpeg_start_compress(&e->jpeg, TRUE);
    return true;
}

bool JpegRows(Encoder* e, const uint8_t* rgb, int rows, size_t bytesPerLine)
{
    if (setjmp(e->jump))
        return false;
    for (int y = 0; y < rows; ++y) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + size_t(y) * bytesPerLine);
        jpeg_write_scanlines(&e->jpeg, &row, 1);
    }
    return true;
}

bool JpegFinish(Encoder* e)
{
    if (setjmp(e->jump))
        return false;
    jpeg_finish_compress(&e->jpeg);
    return true;
}

Encoder* EncoderOf(png_structp png) { return static_cast<Encoder*>(png_get_error_ptr(png)); }

void PngFail(png_structp png, png_const_charp message)
{
    Encoder* e = EncoderOf(png);
    std::snprintf(e->message, sizeof e->message, "%s", message);
    std::longjmp(e->jump, 1);
}

void PngQuiet(png_structp, png_const_charp) {}

void PngWrite(png_structp png, png_bytep data, png_size_t size)
{
    auto* e = static_cast<Encoder*>(png_get_io_ptr(png));
    if (!e->sink(data, size))
        png_error(png, "write error");
}

void PngFlush(png_structp) {}

bool PngStart(Encoder* e, int width, int height, const std::string& key, const std::string& text, PngRowFilter filter)
{
    e->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, e, PngFail, PngQuiet);
    if (!e->png)
        return false;
    e->pngInfo = png_create_info_struct(e->png);
    if (!e->pngInfo || setjmp(e->jump))
        return false;
    png_set_write_fn(e->png, e, PngWrite, PngFlush);
    png_set_IHDR(e->png, e->pngInfo, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (filter == PngRowFilter::None)
        png_set_filter(e->png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    if (!key.empty()) {
        png_text entry{};
        entry.compression = PNG_ITXT_COMPRESSION_NONE;
        entry.key = const_cast<png_charp>(key.c_str());
        entry.text = const_cast<png_charp>(text.c_str());
        entry.itxt_length = text.size();
        entry.lang = const_cast<png_charp>("");
        entry.lang_key = const_cast<png_charp>("");
        png_set_text(e->png, e->pngInfo, &entry, 1);
    }
    png_write_info(e->png, e->pngInfo);
    return true;
}

bool PngRows(Encoder* e, const uint8_t* rgb, int rows, size_t bytesPerLine)
{
    if (setjmp(e->jump))
        return false;
    for (int y = 0; y < rows; ++y)
        png_write_row(e->png, const_cast<png_bytep>(rgb + size_t(y) * bytesPerLine));
    return true;
}

bool PngFinish(Encoder* e)
{
    if (setjmp(e->jump))
        return false;
    png_write_end(e->png, e->pngInfo);
    return true;
}

bool StartPicture(Encoder& e, PictureFormat format, int width, int height, const std::string& key, const std::string& text,
                  PngRowFilter filter = PngRowFilter::Adaptive)
{
    return format == PictureFormat::Jpeg ? JpegStart(&e, width, height) : PngStart(&e, width, height, key, text, filter);
}

bool PictureRows(Encoder& e, PictureFormat format, const uint8_t* rgb, int rows, size_t bytesPerLine)
{
    return format == PictureFormat::Jpeg ? JpegRows(&e, rgb, rows, bytesPerLine) : PngRows(&e, rgb, rows, bytesPerLine);
}

bool FinishPicture(Encoder& e, PictureFormat format) { return format == PictureFormat::Jpeg ? JpegFinish(&e) : PngFinish(&e); }

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

}  // namespace

PictureFormat PictureFormatOfName(const std::string& path)
{
    std::string ending = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
    std::transform(ending.begin(), ending.end(), ending.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ending == ".png" ? PictureFormat::Png : PictureFormat::Jpeg;
}

PictureFileWriter::PictureFileWriter(const std::string& path, PictureFormat format, int width, int height,
                                     const std::string& key, const std::string& text, PngRowFilter filter)
    : file_(path), format_(format), width_(width), height_(height), key_(key), text_(text), filter_(filter)
{
}

PictureFileWriter::~PictureFileWriter() = default;

FileWriteResult PictureFileWriter::Open(std::string& reason)
{
    if (file_.Open(reason) != FileWriteResult::Written)
        return FileWriteResult::CreateFailed;
    encoder_ = std::make_unique<Encoder>();
    encoder_->sink = [this](const void* data, size_t size) { return file_.Write(data, size); };
    if (!StartPicture(*encoder_, format_, width_, height_, key_, text_, filter_)) {
        failure_ = encoder_->message;
        return FileWriteResult::WriteFailed;
    }
    return FileWriteResult::Written;
}

bool PictureFileWriter::WriteRows(const uint8_t* rgb, int rows)
{
    if (!encoder_ || !failure_.empty())
        return false;
    const bool written = PictureRows(*encoder_, format_, rgb, rows, size_t(width_) * 3);
    if (!written)
        failure_ = encoder_->message;
    return written;
}

FileWriteResult PictureFileWriter::Finish(std::string& reason)
{
    if (encoder_ && failure_.empty() && !FinishPicture(*encoder_, format_))
        failure_ = encoder_->message;
    // A failed write stops the encoder too; the system's reason is the one to tell.
    if (file_.WriteError() != 0)
        return file_.Commit(reason);
    std::string commitReason;
    const FileWriteResult committed = failure_.empty() ? file_.Commit(commitReason) : FileWriteResult::WriteFailed;
    if (committed != FileWriteResult::Written)
        reason = commitReason.empty() ? failure_ : commitReason;
    return committed;
}

bool EncodePicture(PictureFormat format, const uint8_t* rgb, int width, int height, size_t bytesPerLine,
                   const std::string& key, const std::string& text, std::vector<uint8_t>& encoded, std::string& error)
{
    encoded.clear();
    Encoder e;
    e.sink = [&encoded](const void* data, size_t size) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        encoded.insert(encoded.end(), bytes, bytes + size);
        return true;
    };
    if (!StartPicture(e, format, width, height, key, text) || !PictureRows(e, format, rgb, height, bytesPerLine) ||
        !FinishPicture(e, format)) {
        error = e.message;
        return false;
    }
    return true;
}

bool ReadPngSize(const std::string& path, int& width, int& height)
{
    // The signature, then the header chunk: its length, "IHDR", width, height.
    std::vector<uint8_t> bytes;
    std::string reason;
    if (ReadRegularFile(path, 24, bytes, reason) != FileReadResult::Done || bytes.size() < 24 ||
        std::memcmp(bytes.data(), kPngSignature, 8) != 0 || std::memcmp(&bytes[12], "IHDR", 4) != 0)
        return false;
    const uint32_t w = BigEndian(&bytes[16]);
    const uint32_t h = BigEndian(&bytes[20]);
    if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF)
        return false;
    width = int(w);
    height = int(h);
    return true;
}

PngTextResult ReadPngText(const std::string& path, const std::string& key, std::string& text, std::string& reason)
{
    // The text stands before the picture data, well within the first megabyte.
    std::vector<uint8_t> bytes;
    if (ReadRegularFile(path, 1 << 20, bytes, reason) != FileReadResult::Done)
        return PngTextResult::OpenFailed;
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kPngSignature, 8) != 0)
        return PngTextResult::NotPng;
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const size_t length = BigEndian(&bytes[at]);
        const std::string type(reinterpret_cast<const char*>(&bytes[at + 4]), 4);
        if (type == "IDAT" || type == "IEND" || length > bytes.size() - at - 12)
            break;
        const char* data = reinterpret_cast<const char*>(&bytes[at + 8]);
        // iTXt: key, 0, compression flag, method, language, 0, translated key, 0, text.
        if (type == "iTXt" && length > key.size() + 3 && std::memcmp(data, key.c_str(), key.size() + 1) == 0 &&
            data[key.size() + 1] == 0) {
            size_t p = key.size() + 3;
            for (int zeros = 0; zeros < 2 && p < length; ++p)
                zeros += data[p] == 0;
            text.assign(data + p, data + length);
            return PngTextResult::Found;
        }
        at += length + 12;
    }
    return PngTextResult::NoText;
}

#include "files/RawIterationFiles.h"

#include <sys/stat.h>

#include <Iex.h>
#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfIO.h>
#include <ImfInputFile.h>
#include <ImfIntAttribute.h>
#include <ImfOutputFile.h>
#include <ImfStringAttribute.h>

#include <cmath>
#include <exception>

namespace Imf = OPENEXR_IMF_NAMESPACE;

namespace {

constexpr char kCountChannel[] = "N";
constexpr char kFractionChannel[] = "NF";
constexpr char kLimitAttribute[] = "Iterations";
constexpr char kBiasAttribute[] = "IterationsBias";
// A file read back larger than this is no picture of ours.
constexpr int64_t kMaxReadPixels = int64_t(1) << 28;

// The library's output through the file written whole. It seeks back once,
// at the end, to fill in the table of scan-line offsets.
class WholeFileStream : public Imf::OStream {
public:
    WholeFileStream(WholeFileWriter& file, const std::string& name) : Imf::OStream(name.c_str()), file_(file) {}
    void write(const char c[], int n) override
    {
        if (n > 0 && !file_.WriteAt(c, std::size_t(n), off_t(position_)))
            throw IEX_NAMESPACE::IoExc("cannot write the file");
        position_ += uint64_t(n > 0 ? n : 0);
    }
    uint64_t tellp() override { return position_; }
    void seekp(uint64_t position) override { position_ = position; }

private:
    WholeFileWriter& file_;
    uint64_t position_ = 0;
};

Imf::Header HeaderOf(const RawIterationLayout& layout)
{
    Imf::Header header(layout.width, layout.height);
    header.insert(kLimitAttribute, Imf::IntAttribute(int(layout.limit)));
    header.insert(kBiasAttribute, Imf::IntAttribute(kRawIterationsBias));
    if (!layout.key.empty())
        header.insert(layout.key, Imf::StringAttribute(layout.text));
    header.channels().insert(kCountChannel, Imf::Channel(Imf::UINT));
    if (layout.fraction)
        header.channels().insert(kFractionChannel, Imf::Channel(Imf::FLOAT));
    return header;
}

}  // namespace

struct RawIterationFileWriter::Image {
    Image(WholeFileWriter& file, const RawIterationLayout& layout)
        : stream(file, file.Target()), out(stream, HeaderOf(layout))
    {
    }
    WholeFileStream stream;
    Imf::OutputFile out;
    std::vector<uint32_t> n;
    std::vector<float> nf;
};

uint32_t RawCountValue(uint32_t count, uint32_t limit)
{
    return count >= limit ? kRawNotEscaped : count + uint32_t(kRawIterationsBias);
}

float RawFractionValue(float fraction)
{
    if (!(fraction > 0.0f))
        return 0.0f;
    return fraction < 1.0f ? fraction : std::nextafter(1.0f, 0.0f);
}

RawIterationFileWriter::RawIterationFileWriter(const std::string& path, const RawIterationLayout& layout)
    : file_(path), layout_(layout)
{
}

RawIterationFileWriter::~RawIterationFileWriter() = default;

FileWriteResult RawIterationFileWriter::Open(std::string& reason)
{
    if (layout_.width < 1 || layout_.height < 1 || layout_.limit < 1 || layout_.limit > kRawMaxLimit) {
        reason = "no raw iteration picture of this size or limit";
        return FileWriteResult::CreateFailed;
    }
    if (file_.Open(reason) != FileWriteResult::Written)
        return FileWriteResult::CreateFailed;
    try {
        image_ = std::make_unique<Image>(file_, layout_);
    } catch (const std::exception& e) {
        failure_ = e.what();
        return FileWriteResult::WriteFailed;
    }
    return FileWriteResult::Written;
}

bool RawIterationFileWriter::WriteRows(const uint32_t* counts, const float* fractions, int rows)
{
    if (!image_ || !failure_.empty() || rows < 0 || rows > layout_.height - rowsWritten_ ||
        (layout_.fraction && !fractions))
        return false;
    const std::size_t size = std::size_t(layout_.width) * std::size_t(rows);
    image_->n.resize(size);
    for (std::size_t i = 0; i < size; ++i)
        image_->n[i] = RawCountValue(counts[i], layout_.limit);
    const IMATH_NAMESPACE::V2i origin(0, rowsWritten_);
    Imf::FrameBuffer buffer;
    buffer.insert(kCountChannel, Imf::Slice::Make(Imf::UINT, image_->n.data(), origin, layout_.width, rows));
    if (layout_.fraction) {
        image_->nf.resize(size);
        for (std::size_t i = 0; i < size; ++i)
            image_->nf[i] = image_->n[i] == kRawNotEscaped ? 0.0f : RawFractionValue(fractions[i]);
        buffer.insert(kFractionChannel, Imf::Slice::Make(Imf::FLOAT, image_->nf.data(), origin, layout_.width, rows));
    }
    try {
        image_->out.setFrameBuffer(buffer);
        image_->out.writePixels(rows);
    } catch (const std::exception& e) {
        failure_ = e.what();
        return false;
    }
    rowsWritten_ += rows;
    return true;
}

FileWriteResult RawIterationFileWriter::Finish(std::string& reason)
{
    if (!image_ && failure_.empty())
        failure_ = "the file was not opened";
    if (failure_.empty() && rowsWritten_ != layout_.height)
        failure_ = std::to_string(rowsWritten_) + " of " + std::to_string(layout_.height) + " rows written";
    // Closing the picture writes its table of offsets; a failure there is
    // kept by the file and comes with Commit.
    image_.reset();
    std::string commitReason;
    const FileWriteResult committed = failure_.empty() ? file_.Commit(commitReason) : FileWriteResult::WriteFailed;
    if (committed != FileWriteResult::Written)
        reason = commitReason.empty() ? failure_ : commitReason;
    return committed;
}

namespace {

int64_t NumberAttribute(const Imf::Header& header, const char* name, int64_t absent)
{
    if (const auto* value = header.findTypedAttribute<Imf::IntAttribute>(name))
        return value->value();
    if (const auto* text = header.findTypedAttribute<Imf::StringAttribute>(name))
        return std::stoll(text->value());
    return absent;
}

void ReadChannels(Imf::InputFile& file, RawIterationData& data)
{
    const IMATH_NAMESPACE::Box2i window = file.header().dataWindow();
    data.n.assign(std::size_t(data.width) * std::size_t(data.height), kRawNoData);
    data.hasFraction = file.header().channels().findChannel(kFractionChannel) != nullptr;
    data.nf.assign(data.hasFraction ? data.n.size() : 0, 0.0f);
    Imf::FrameBuffer buffer;
    buffer.insert(kCountChannel, Imf::Slice::Make(Imf::UINT, data.n.data(), window));
    if (data.hasFraction)
        buffer.insert(kFractionChannel, Imf::Slice::Make(Imf::FLOAT, data.nf.data(), window));
    file.setFrameBuffer(buffer);
    file.readPixels(window.min.y, window.max.y);
}

}  // namespace

bool ReadRawIterationFile(const std::string& path, const std::string& key, RawIterationData& data,
                          std::string& reason)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = "not a regular file";
        return false;
    }
    try {
        Imf::InputFile file(path.c_str());
        const Imf::Header& header = file.header();
        const IMATH_NAMESPACE::Box2i window = header.dataWindow();
        const int64_t width = int64_t(window.max.x) - window.min.x + 1;
        const int64_t height = int64_t(window.max.y) - window.min.y + 1;
        const Imf::Channel* count = header.channels().findChannel(kCountChannel);
        if (!count || count->type != Imf::UINT || width < 1 || height < 1 || width * height > kMaxReadPixels) {
            reason = "no 32-bit N channel of a picture's size";
            return false;
        }
        RawIterationData read;
        read.width = int(width);
        read.height = int(height);
        read.limit = NumberAttribute(header, kLimitAttribute, -1);
        read.bias = NumberAttribute(header, kBiasAttribute, 0);
        if (const auto* text = header.findTypedAttribute<Imf::StringAttribute>(key))
            read.text = text->value();
        ReadChannels(file, read);
        data = std::move(read);
    } catch (const std::exception& e) {
        reason = e.what();
        return false;
    }
    return true;
}

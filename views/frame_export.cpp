#include "views/frame_export.h"

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <png++/png.hpp>
#include <queue>
#include <sstream>
#include <system_error>
#include <utility>
#include <vector>

#include "data/event_loading.h"
#include "data/files.h"
#include "data/settings.h"
#include "platform/message_box.h"
#include "ui/kit.h"

namespace orvane {

namespace {

constexpr std::uint32_t kRgbMask = 0x00ffffffu;
constexpr std::uint32_t kYellowRgb = 0x00ffff00u;

// The PNG bytes of a drawn pixel (its 0x..RRGGBB word masked to RGB).
void pngPixel(std::uint32_t rgb, std::uint8_t out[4]) {
    out[0] = static_cast<std::uint8_t>(rgb >> 16);
    out[1] = static_cast<std::uint8_t>(rgb >> 8);
    out[2] = static_cast<std::uint8_t>(rgb);
    out[3] = rgb == 0 ? 0 : rgb == kYellowRgb ? kSurfaceWaveAlpha : 255;
}

// --- the frame encoder ------------------------------------------------------
//
// A frame is 32 MiB of RGBA, nearly all of it transparent black, with thin
// lines of flat colour and a little text. A general compressor spends most
// of its time rediscovering the empty runs; this one knows them: it walks
// the drawn picture once, turning empty runs into back-references one byte
// back, coloured runs into references one pixel back and stretches equal to
// the row above into references one row back, and codes the result as one
// dynamic Huffman deflate block in a zlib stream. The image data is the
// rows with filter type None, as any PNG decoder reads them.

constexpr int kMaxMatch = 258;
constexpr int kMinMatch = 3;
constexpr std::uint32_t kMaxDistance = 32768;
constexpr int kLiteralCodes = 286;  // 0..255, end of block, lengths 257..285
constexpr int kDistanceCodes = 30;
constexpr int kEndOfBlock = 256;

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,
                                           15, 17, 19, 23, 27, 31, 35, 43, 51,  59,
                                           67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,     9,     13,
                                             17,   25,   33,   49,   65,   97,    129,   193,
                                             257,  385,  513,  769,  1025, 1537,  2049,  3073,
                                             4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which the code-length code's lengths are stored.
constexpr std::uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                               11, 4,  12, 3, 13, 2, 14, 1, 15};

// Length code index (0..28) of every match length.
const std::array<std::uint8_t, kMaxMatch + 1>& lengthCodes() {
    static const auto table = [] {
        std::array<std::uint8_t, kMaxMatch + 1> t{};
        for (int code = 0; code < 29; ++code) {
            int last = code == 27 ? 257 : code == 28 ? 258 : kLengthBase[code + 1] - 1;
            for (int len = kLengthBase[code]; len <= last; ++len)
                t[static_cast<std::size_t>(len)] = static_cast<std::uint8_t>(code);
        }
        return t;
    }();
    return table;
}

// Distance code (0..29) of a distance 1..32768: two codes per power of two
// above 4.
int distanceCode(std::uint32_t distance) {
    if (distance <= 4) return static_cast<int>(distance) - 1;
    const std::uint32_t d = distance - 1;
    const int bits = std::bit_width(d) - 1;
    return 2 * bits + static_cast<int>((d >> (bits - 1)) & 1);
}

// Huffman code lengths of at most `limit` bits for the frequencies: a
// Huffman tree, built again on flattened frequencies while it is too deep.
// At least two symbols must be used, so that the code is complete.
std::vector<std::uint8_t> codeLengths(std::vector<std::uint32_t> freq, int limit) {
    const std::size_t n = freq.size();
    std::vector<std::uint8_t> lengths(n, 0);
    for (;;) {
        using Item = std::pair<std::uint64_t, std::size_t>;
        std::priority_queue<Item, std::vector<Item>, std::greater<>> heap;
        std::vector<std::size_t> parent;
        std::vector<std::size_t> leafOf;
        for (std::size_t s = 0; s < n; ++s) {
            if (freq[s] == 0) continue;
            heap.push({freq[s], parent.size()});
            parent.push_back(0);
            leafOf.push_back(s);
        }
        while (heap.size() > 1) {
            Item a = heap.top();
            heap.pop();
            Item b = heap.top();
            heap.pop();
            std::size_t node = parent.size();
            parent.push_back(node);
            parent[a.second] = node;
            parent[b.second] = node;
            heap.push({a.first + b.first, node});
        }
        // Parents come after their children: depths from the root down.
        std::vector<int> depth(parent.size(), 0);
        for (std::size_t i = parent.size() - 1; i-- > 0;) depth[i] = depth[parent[i]] + 1;
        int deepest = 0;
        for (std::size_t leaf = 0; leaf < leafOf.size(); ++leaf) deepest = std::max(deepest, depth[leaf]);
        if (deepest <= limit) {
            for (std::size_t leaf = 0; leaf < leafOf.size(); ++leaf)
                lengths[leafOf[leaf]] = static_cast<std::uint8_t>(depth[leaf]);
            return lengths;
        }
        for (std::uint32_t& f : freq)
            if (f != 0) f = f / 2 + 1;
    }
}

// A code of one symbol is incomplete, which decoders may refuse: give a
// second symbol a count when fewer than two are used.
void useTwoSymbols(std::vector<std::uint32_t>& freq) {
    auto used = std::count_if(freq.begin(), freq.end(), [](std::uint32_t f) { return f != 0; });
    for (std::uint32_t& f : freq) {
        if (used >= 2) return;
        if (f == 0) {
            f = 1;
            ++used;
        }
    }
}

struct Code {
    std::uint16_t bits = 0;  // bit-reversed, as deflate sends them
    std::uint8_t length = 0;
};

std::vector<Code> canonicalCodes(const std::vector<std::uint8_t>& lengths) {
    int count[16] = {};
    for (std::uint8_t l : lengths) ++count[l];
    count[0] = 0;
    int next[16] = {};
    for (int bits = 1, code = 0; bits < 16; ++bits) {
        code = (code + count[bits - 1]) << 1;
        next[bits] = code;
    }
    std::vector<Code> codes(lengths.size());
    for (std::size_t s = 0; s < lengths.size(); ++s) {
        int len = lengths[s];
        if (len == 0) continue;
        int code = next[len]++;
        int reversed = 0;
        for (int i = 0; i < len; ++i) reversed |= ((code >> i) & 1) << (len - 1 - i);
        codes[s] = {static_cast<std::uint16_t>(reversed), static_cast<std::uint8_t>(len)};
    }
    return codes;
}

class BitWriter {
  public:
    explicit BitWriter(std::string& out) : out_(out) {}
    void put(std::uint32_t bits, int count) {
        buffer_ |= static_cast<std::uint64_t>(bits) << filled_;
        filled_ += count;
        if (filled_ >= 32) {
            char bytes[4];
            for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(buffer_ >> (8 * i));
            out_.append(bytes, 4);
            buffer_ >>= 32;
            filled_ -= 32;
        }
    }
    void put(const Code& code) { put(code.bits, code.length); }
    void flush() {
        while (filled_ > 0) {
            out_.push_back(static_cast<char>(buffer_));
            buffer_ >>= 8;
            filled_ -= 8;
        }
        buffer_ = 0;
        filled_ = 0;
    }

  private:
    std::string& out_;
    std::uint64_t buffer_ = 0;
    int filled_ = 0;
};

class Adler32 {
  public:
    void byte(std::uint32_t b) {
        a_ = (a_ + b) % kBase;
        b_ = (b_ + a_) % kBase;
    }
    void zeros(std::uint64_t n) { b_ = (b_ + (n % kBase) * a_) % kBase; }
    std::uint32_t value() const { return static_cast<std::uint32_t>(b_ << 16 | a_); }

  private:
    static constexpr std::uint64_t kBase = 65521;
    std::uint64_t a_ = 1;
    std::uint64_t b_ = 0;
};

class FrameDeflater {
  public:
    // The zlib stream of the picture's PNG image data.
    std::string deflate(const QImage& picture) {
        const int width = picture.width();
        const std::uint32_t rowBytes = 4u * static_cast<std::uint32_t>(width) + 1;
        const bool rowAbove = rowBytes <= kMaxDistance;
        for (int y = 0; y < picture.height(); ++y) {
            auto row = reinterpret_cast<const std::uint32_t*>(picture.constScanLine(y));
            auto above = y > 0 && rowAbove
                             ? reinterpret_cast<const std::uint32_t*>(picture.constScanLine(y - 1))
                             : nullptr;
            zeros(1);  // filter type None
            int x = 0;
            while (x < width) {
                const std::uint32_t rgb = row[x] & kRgbMask;
                if (rgb == 0) {
                    const int start = x;
                    x = skipEmpty(row, x, width);
                    zeros(4u * static_cast<std::uint32_t>(x - start));
                    continue;
                }
                flushZeros();
                int same = 0;  // pixels equal to the one on the left
                if (x > 0 && (row[x - 1] & kRgbMask) == rgb)
                    while (x + same < width && (row[x + same] & kRgbMask) == rgb) ++same;
                int upper = 0;  // coloured pixels equal to those above
                if (above)
                    while (x + upper < width && (row[x + upper] & kRgbMask) != 0 &&
                           (row[x + upper] & kRgbMask) == (above[x + upper] & kRgbMask))
                        ++upper;
                if (same == 0 && upper == 0) {
                    std::uint8_t bytes[4];
                    pngPixel(rgb, bytes);
                    for (std::uint8_t b : bytes) literal(b);
                    x += 1;
                } else {
                    const bool left = same >= upper;
                    const int n = left ? same : upper;
                    matches(4u * static_cast<std::uint32_t>(n), left ? 4 : rowBytes);
                    for (int i = 0; i < n; ++i) {
                        std::uint8_t bytes[4];
                        pngPixel(row[x + i] & kRgbMask, bytes);
                        for (std::uint8_t b : bytes) adler_.byte(b);
                    }
                    x += n;
                }
                lastZero_ = false;
            }
        }
        flushZeros();
        return encode();
    }

  private:
    static int skipEmpty(const std::uint32_t* row, int x, int width) {
        // Two pixels at a time while both are black.
        constexpr std::uint64_t kPairMask = 0x00ffffff00ffffffull;
        while (x + 2 <= width) {
            std::uint64_t pair;
            std::memcpy(&pair, row + x, sizeof pair);
            if ((pair & kPairMask) != 0) break;
            x += 2;
        }
        while (x < width && (row[x] & kRgbMask) == 0) ++x;
        return x;
    }

    void literal(std::uint8_t b) {
        tokens_.push_back(b);
        ++literalFreq_[b];
        adler_.byte(b);
    }
    // Zero bytes of the image data, sent as one run when something else
    // comes (runs go on across rows).
    void zeros(std::uint32_t n) {
        pendingZeros_ += n;
        adler_.zeros(n);
    }
    void flushZeros() {
        std::uint64_t n = pendingZeros_;
        if (n == 0) return;
        pendingZeros_ = 0;
        if (!lastZero_) {
            token(0);
            --n;
        }
        if (n < kMinMatch) {
            for (; n > 0; --n) token(0);
        } else {
            matches(n, 1);
        }
        lastZero_ = true;
    }
    // A literal whose byte is already in the checksum.
    void token(std::uint8_t b) {
        tokens_.push_back(b);
        ++literalFreq_[b];
    }
    // n >= 3 bytes copied from `distance` back, in pieces deflate can hold.
    void matches(std::uint64_t n, std::uint32_t distance) {
        const int distCode = distanceCode(distance);
        while (n > 0) {
            auto len = static_cast<std::uint32_t>(std::min<std::uint64_t>(n, kMaxMatch));
            if (n > kMaxMatch && n - kMaxMatch < kMinMatch) len = static_cast<std::uint32_t>(n - kMinMatch);
            tokens_.push_back(len << 16 | distance);
            ++literalFreq_[257 + lengthCodes()[len]];
            ++distanceFreq_[static_cast<std::size_t>(distCode)];
            n -= len;
        }
    }

    std::string encode() {
        literalFreq_[kEndOfBlock] = 1;
        useTwoSymbols(literalFreq_);
        useTwoSymbols(distanceFreq_);
        const std::vector<std::uint8_t> literalLengths = codeLengths(literalFreq_, 15);
        const std::vector<std::uint8_t> distanceLengths = codeLengths(distanceFreq_, 15);
        const std::vector<Code> literalCodes = canonicalCodes(literalLengths);
        const std::vector<Code> distanceCodes = canonicalCodes(distanceLengths);

        // Both code lengths lists in one, zero runs shortened (codes 17, 18).
        std::vector<std::uint8_t> all(literalLengths);
        all.insert(all.end(), distanceLengths.begin(), distanceLengths.end());
        struct LengthSymbol {
            std::uint8_t symbol;
            std::uint8_t extra;
        };
        std::vector<LengthSymbol> symbols;
        std::vector<std::uint32_t> lengthFreq(19, 0);
        for (std::size_t i = 0; i < all.size();) {
            std::size_t run = 1;
            while (all[i] == 0 && i + run < all.size() && all[i + run] == 0 && run < 138) ++run;
            if (all[i] == 0 && run >= 11) {
                symbols.push_back({18, static_cast<std::uint8_t>(run - 11)});
            } else if (all[i] == 0 && run >= 3) {
                symbols.push_back({17, static_cast<std::uint8_t>(run - 3)});
            } else {
                run = 1;
                symbols.push_back({all[i], 0});
            }
            ++lengthFreq[symbols.back().symbol];
            i += run;
        }
        useTwoSymbols(lengthFreq);
        const std::vector<std::uint8_t> lengthLengths = codeLengths(lengthFreq, 7);
        const std::vector<Code> codeLengthCodes = canonicalCodes(lengthLengths);
        int stored = 19;
        while (stored > 4 && lengthLengths[kCodeLengthOrder[stored - 1]] == 0) --stored;

        std::string out;
        out.reserve(tokens_.size() / 2 + 1024);
        out.push_back(0x78);  // deflate, 32 KiB window
        out.push_back(0x01);
        BitWriter bits(out);
        bits.put(1, 1);  // the last block
        bits.put(2, 2);  // dynamic Huffman codes
        bits.put(kLiteralCodes - 257, 5);
        bits.put(kDistanceCodes - 1, 5);
        bits.put(static_cast<std::uint32_t>(stored - 4), 4);
        for (int i = 0; i < stored; ++i) bits.put(lengthLengths[kCodeLengthOrder[i]], 3);
        for (const LengthSymbol& s : symbols) {
            bits.put(codeLengthCodes[s.symbol]);
            if (s.symbol == 17) bits.put(s.extra, 3);
            if (s.symbol == 18) bits.put(s.extra, 7);
        }
        for (std::uint32_t t : tokens_) {
            if (t < 256) {
                bits.put(literalCodes[t]);
                continue;
            }
            const std::uint32_t len = t >> 16;
            const std::uint32_t distance = t & 0xffffu;
            const int lc = lengthCodes()[len];
            bits.put(literalCodes[static_cast<std::size_t>(257 + lc)]);
            bits.put(len - kLengthBase[lc], kLengthExtra[lc]);
            const int dc = distanceCode(distance);
            bits.put(distanceCodes[static_cast<std::size_t>(dc)]);
            bits.put(distance - kDistanceBase[dc], kDistanceExtra[dc]);
        }
        bits.put(literalCodes[kEndOfBlock]);
        bits.flush();
        const std::uint32_t check = adler_.value();
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(check >> shift));
        return out;
    }

    std::vector<std::uint32_t> tokens_;
    std::vector<std::uint32_t> literalFreq_ = std::vector<std::uint32_t>(kLiteralCodes, 0);
    std::vector<std::uint32_t> distanceFreq_ = std::vector<std::uint32_t>(kDistanceCodes, 0);
    std::uint64_t pendingZeros_ = 0;
    bool lastZero_ = false;
    Adler32 adler_;
};

// The PNG file: png++ writes the signature and the header, the image data
// goes in as ready-made IDAT chunks (libpng would deflate it once more on
// this thread), and the end chunk closes it.
std::string encodePng(const QImage& picture) {
    const std::string data = FrameDeflater().deflate(picture);
    std::ostringstream stream(std::ios::binary);
    png::writer<std::ostream> writer(stream);
    png::image_info info = png::make_image_info<png::rgba_pixel>();
    info.set_width(static_cast<png::uint_32>(picture.width()));
    info.set_height(static_cast<png::uint_32>(picture.height()));
    info.set_interlace_type(png::interlace_none);
    writer.set_image_info(info);
    writer.write_info();
    constexpr std::size_t kChunk = 1 << 20;
    png_structp png = writer.get_png_struct();
    for (std::size_t at = 0; at < data.size(); at += kChunk)
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"),
                        reinterpret_cast<png_const_bytep>(data.data() + at),
                        std::min(kChunk, data.size() - at));
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    return std::move(stream).str();
}

std::string systemError(int error) { return std::generic_category().message(error); }

// `bytes` into `path` through a file beside it renamed over it, so a display
// reading the directory never meets half a frame.
bool writeBeside(const std::string& bytes, const std::string& path, std::string* error) {
    const std::string temporary = path + ".part";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int failure = fd < 0 ? errno : 0;
    for (std::size_t done = 0; failure == 0 && done < bytes.size();) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) failure = n < 0 ? errno : EIO;
        else done += static_cast<std::size_t>(n);
    }
    if (fd >= 0 && ::close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) failure = errno;
    if (failure == 0) return true;
    if (fd >= 0) ::unlink(temporary.c_str());
    if (error) *error = path + ": " + systemError(failure);
    return false;
}

}  // namespace

std::string frameName(float t) {
    char name[32];
    std::snprintf(name, sizeof name, "%06d.png", truncateToPixel(t));
    return name;
}

bool writeFramePng(const QImage& bitmap, const std::string& path, std::string* error) {
    if (bitmap.isNull()) {
        if (error) *error = path + ": no picture";
        return false;
    }
    const QImage picture =
        bitmap.format() == QImage::Format_RGB32 || bitmap.format() == QImage::Format_ARGB32
            ? bitmap
            : bitmap.convertToFormat(QImage::Format_RGB32);
    std::string bytes;
    try {
        bytes = encodePng(picture);
    } catch (const std::exception& e) {
        if (error) *error = path + ": " + e.what();
        return false;
    }
    return writeBeside(bytes, path, error);
}

// --- FrameWriter ------------------------------------------------------------

FrameWriter::~FrameWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

std::uint64_t FrameWriter::write(std::shared_ptr<const QImage> picture, std::string path) {
    std::uint64_t ticket;
    {
        std::lock_guard lock(mutex_);
        ticket = ++handedOver_;
        jobs_.push_back({ticket, std::move(picture), std::move(path)});
        if (!thread_.joinable()) thread_ = std::thread(&FrameWriter::run, this);
    }
    changed_.notify_all();
    return ticket;
}

void FrameWriter::wait(std::uint64_t ticket) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return written_ >= ticket; });
}

void FrameWriter::finish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return written_ >= handedOver_; });
}

std::vector<std::string> FrameWriter::takeFailures() {
    std::lock_guard lock(mutex_);
    return std::exchange(failures_, {});
}

void FrameWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
        // Stopping still writes what was handed over.
        if (jobs_.empty()) return;
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        std::string error;
        const bool ok = writeFramePng(*job.picture, job.path, &error);
        job.picture.reset();
        lock.lock();
        if (!ok) failures_.push_back(std::move(error));
        written_ = job.ticket;
        changed_.notify_all();
    }
}

// --- FrameExport ------------------------------------------------------------

FrameExport::FrameExport() = default;

FrameExport::~FrameExport() { finish(); }

void FrameExport::finish() {
    writer_.finish();
    report(writer_.takeFailures());
}

void FrameExport::report(const std::vector<std::string>& failures) {
    for (const std::string& failure : failures)
        std::fprintf(stderr, "orvane: frame not written: %s\n", failure.c_str());
    if (failures.empty() || reported_) return;
    reported_ = true;
    if (settings.runScript || settings.timeout != 0) return;  // nobody to close it
    // Shown once the tick is over: the box's own event loop may run
    // commands that tear down this view.
    const std::string text = "Unable to write frame " + failures.front();
    if (QCoreApplication::instance())
        QTimer::singleShot(0, [text] { messageBox(text, "Frame export", MessageIcon::Exclamation); });
}

void FrameExport::prepare() {
    finish();
    reported_ = false;
    current_ = 0;
    MemorySurface& b = buffer();
    b.createBitmap(kFrameWidth, kFrameHeight, colours::kBlack);
    b.setBackgroundMode(BackgroundMode::Transparent);
    b.selectPen(stock::kBlackPen);
    b.selectBrush(stock::kBlackBrush);
    scale_ = mapScaleFor(kFrameHeight);
}

void FrameExport::drawStations() {
    MemorySurface& b = buffer();
    const LoadedEvent& event = loadedEvent();
    Point origin = b.setViewportOrigin({0, 0});
    for (const auto& trace : event.traceList) {
        FloatPoint s = mapPoint(trace->stationLatitude, trace->stationLongitude, scale_);
        if (s != FloatPoint{}) {
            Point p{truncateToPixel(s.x), truncateToPixel(s.y)};
            drawShadowText(b, p, stationMarkLabel(*trace), colours::kWhite, kAlignLeft, true);
            drawShadowText(b, p, "o", colours::kWhite, kAlignCentre, true);
        }
        FloatPoint e = mapPoint(event.latitude, event.longitude, scale_);
        if (e != FloatPoint{})
            drawShadowText(b, {truncateToPixel(e.x), truncateToPixel(e.y)}, "*", colours::kWhite,
                           kAlignCentre, true);
    }
    b.setViewportOrigin(origin);
}

void FrameExport::render(float t) {
    MemorySurface& b = buffer();
    if (!b.hasBitmap()) return;
    b.setViewportOrigin({0, 0});
    b.selectPen(stock::kBlackPen);
    b.selectBrush(stock::kBlackBrush);
    b.fillRect({0, 0, kFrameWidth, kFrameHeight}, stock::kBlackBrush);
    // Whole pixels only: a blended fringe would come out as an opaque grey
    // ring, and the black shadows would not vanish.
    Font font = Font::create("Arial bold", 8, 400);
    font.antialiased = false;
    b.selectFont(font);
    drawStations();
    for (const WaveCircle& circle : waveCircles(loadedEvent(), t, kFramePenWidth))
        drawMapCircle(circle);
}

bool FrameExport::exportFrame(float t) {
    if (!buffer().hasBitmap()) return false;
    // The next buffer, once the writer is done with the frame it held.
    current_ = (current_ + 1) % kFramesInFlight;
    writer_.wait(tickets_[static_cast<std::size_t>(current_)]);
    MemorySurface& b = buffer();
    if (!b.hasBitmap()) {
        b.createBitmap(kFrameWidth, kFrameHeight, colours::kBlack);
        b.setBackgroundMode(BackgroundMode::Transparent);
    }
    render(t);
    settings.frameFileName = frameName(t);
    std::string directory = joinPath(loadedEvent().eventDirectory, "sos/earth");
    tickets_[static_cast<std::size_t>(current_)] =
        writer_.write(b.pixels(), joinPath(directory, settings.frameFileName));
    report(writer_.takeFailures());
    return true;
}

void FrameExport::drawMapCircle(const WaveCircle& circle) {
    MemorySurface& b = buffer();
    const LoadedEvent& event = loadedEvent();
    Pen previous = b.selectPen(Pen::solid(circle.colour, circle.width));
    auto points = mapCircle(circle.delta, event.latitude, event.longitude, scale_);
    std::vector<Point> run;
    Point prev{truncateToPixel(points[0].x), truncateToPixel(points[0].y)};
    if (circle.delta > 15 && settings.labelPhasesOnEarthView && !circle.label.empty())
        drawShadowText(b, prev - Point{2, 0}, circle.label, circle.colour, kAlignCentre,
                       true);
    for (const FloatPoint& point : points) {
        Point p{truncateToPixel(point.x), truncateToPixel(point.y)};
        if (std::abs(p.x - prev.x) <= kFrameWidth / 2) {
            run.push_back(p);
            prev = p;
            continue;
        }
        // The circle crosses the left or right edge between the two points:
        // the run goes off one edge and a new one comes in from the other,
        // each with the crossing segment shifted by the image width.
        if (run.empty()) {
            prev = p;
            continue;
        }
        int shift = p.x > prev.x ? kFrameWidth : -kFrameWidth;
        run.push_back({p.x - shift, p.y});
        b.polyline(run);
        run.assign({Point{prev.x + shift, prev.y}, p});
        prev = p;
    }
    if (!run.empty()) b.polyline(run);
    b.selectPen(previous);
}

}  // namespace orvane

#include "FileWriters.h"

#include <fstream>

#include "Canvas.h"

namespace {

class ByteSink {
public:
    void u16(std::uint32_t value) {
        bytes.push_back(static_cast<char>(value & 0xFF));
        bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
    }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    void text(const char* four) { bytes.append(four, 4); }
    void byte(unsigned char value) { bytes.push_back(static_cast<char>(value)); }

    std::string bytes;
};

bool save(const std::string& bytes, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

void fileHeader(ByteSink& sink, std::uint32_t headerSize, std::uint32_t imageSize) {
    const std::uint32_t offset = 14 + headerSize;
    sink.byte('B');
    sink.byte('M');
    sink.u32(offset + imageSize);
    sink.u32(0);
    sink.u32(offset);
}

void infoHeader(ByteSink& sink, std::uint32_t headerSize, const Canvas& canvas, int bits, std::uint32_t compression,
                std::uint32_t imageSize) {
    sink.u32(headerSize);
    sink.u32(static_cast<std::uint32_t>(canvas.width()));
    sink.u32(static_cast<std::uint32_t>(canvas.height()));  // positive: bottom-up
    sink.u16(1);
    sink.u16(static_cast<std::uint32_t>(bits));
    sink.u32(compression);
    sink.u32(imageSize);
    sink.u32(2835);  // 72 dots per inch
    sink.u32(2835);
    sink.u32(0);
    sink.u32(0);
}

}  // namespace

namespace files {

bool writeBmp24(const Canvas& canvas, const std::string& path) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(canvas.width()) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = rowBytes * static_cast<std::uint32_t>(canvas.height());
    ByteSink sink;
    fileHeader(sink, 40, imageSize);
    infoHeader(sink, 40, canvas, 24, 0, imageSize);
    const std::vector<unsigned char> rgba = canvas.rgba();
    for (int y = canvas.height() - 1; y >= 0; --y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const std::size_t i = (static_cast<std::size_t>(y) * canvas.width() + x) * 4;
            sink.byte(rgba[i + 2]);
            sink.byte(rgba[i + 1]);
            sink.byte(rgba[i]);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(canvas.width()) * 3; pad < rowBytes; ++pad) sink.byte(0);
    }
    return save(sink.bytes, path);
}

bool writeBmp32(const Canvas& canvas, const std::string& path) {
    const std::uint32_t imageSize = static_cast<std::uint32_t>(canvas.width()) * canvas.height() * 4;
    ByteSink sink;
    fileHeader(sink, 108, imageSize);
    infoHeader(sink, 108, canvas, 32, 3, imageSize);  // 3: bit fields
    sink.u32(0x00FF0000);
    sink.u32(0x0000FF00);
    sink.u32(0x000000FF);
    sink.u32(0xFF000000);
    sink.text("BGRs");  // the sRGB colour space tag, stored little-endian as "sRGB"
    for (int i = 0; i < 12; ++i) sink.u32(0);  // end points and gammas, unused with sRGB
    const std::vector<unsigned char> rgba = canvas.rgba();
    for (int y = canvas.height() - 1; y >= 0; --y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const std::size_t i = (static_cast<std::size_t>(y) * canvas.width() + x) * 4;
            sink.byte(rgba[i + 2]);
            sink.byte(rgba[i + 1]);
            sink.byte(rgba[i]);
            sink.byte(rgba[i + 3]);
        }
    }
    return save(sink.bytes, path);
}

bool writeWave(const std::vector<std::int16_t>& samples, const std::string& path) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    ByteSink sink;
    sink.text("RIFF");
    sink.u32(36 + dataBytes);
    sink.text("WAVE");
    sink.text("fmt ");
    sink.u32(16);
    sink.u16(1);      // PCM
    sink.u16(1);      // mono
    sink.u32(22050);  // samples per second
    sink.u32(44100);  // bytes per second
    sink.u16(2);      // bytes per sample frame
    sink.u16(16);     // bits per sample
    sink.text("data");
    sink.u32(dataBytes);
    for (std::int16_t sample : samples) sink.u16(static_cast<std::uint16_t>(sample));
    return save(sink.bytes, path);
}

}  // namespace files

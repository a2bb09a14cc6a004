#include "PngWriter.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "Canvas.h"

namespace files {
namespace {

using Bytes = std::vector<unsigned char>;

std::uint32_t crc32(const unsigned char* data, std::size_t size, std::uint32_t crc = 0xFFFFFFFFu) {
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc;
}

void put32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

void chunk(Bytes& out, const char* type, const Bytes& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    put32(out, crc32(typed.data(), typed.size()) ^ 0xFFFFFFFFu);
}

// A zlib stream of stored deflate blocks, at most 65535 bytes each.
Bytes zlibStored(const Bytes& raw) {
    Bytes out = {0x78, 0x01};
    std::size_t done = 0;
    do {
        const std::size_t length = raw.size() - done < 65535 ? raw.size() - done : 65535;
        out.push_back(done + length == raw.size() ? 1 : 0);
        out.push_back(static_cast<unsigned char>(length & 0xFF));
        out.push_back(static_cast<unsigned char>(length >> 8));
        out.push_back(static_cast<unsigned char>(~length & 0xFF));
        out.push_back(static_cast<unsigned char>((~length >> 8) & 0xFF));
        out.insert(out.end(), raw.begin() + static_cast<long>(done), raw.begin() + static_cast<long>(done + length));
        done += length;
    } while (done < raw.size());
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put32(out, (b << 16) | a);
    return out;
}

}  // namespace

bool writePng(const Canvas& canvas, const std::string& path) {
    const std::vector<unsigned char> rgba = canvas.rgba();
    const std::size_t row = static_cast<std::size_t>(canvas.width()) * 4;
    Bytes raw;
    for (int y = 0; y < canvas.height(); ++y) {
        raw.push_back(0);  // no filter
        raw.insert(raw.end(), rgba.begin() + static_cast<long>(y * row), rgba.begin() + static_cast<long>((y + 1) * row));
    }
    Bytes header;
    put32(header, static_cast<std::uint32_t>(canvas.width()));
    put32(header, static_cast<std::uint32_t>(canvas.height()));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter set, no interlace
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", zlibStored(raw));
    chunk(png, "IEND", {});
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out);
}

}  // namespace files

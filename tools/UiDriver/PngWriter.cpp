// PngWriter.cpp: PNG signature, IHDR, one IDAT with a stored zlib stream, IEND.
#include "PngWriter.h"

#include <cstdio>

namespace {

void putBig32(std::vector<unsigned char>& out, uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value >> 24));
    out.push_back(static_cast<unsigned char>(value >> 16));
    out.push_back(static_cast<unsigned char>(value >> 8));
    out.push_back(static_cast<unsigned char>(value));
}

void putLittle16(std::vector<unsigned char>& out, unsigned value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

// Length, type, data, then the CRC over type and data.
void putChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data)
{
    putBig32(out, static_cast<uint32_t>(data.size()));
    size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBig32(out, PngWriter::crc32(out.data() + typeStart, out.size() - typeStart));
}

} // namespace

PngWriter::PngWriter()
{
}

PngWriter::~PngWriter()
{
}

uint32_t PngWriter::crc32(const unsigned char* data, size_t size, uint32_t crc)
{
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
    }
    return ~crc;
}

uint32_t PngWriter::adler32(const unsigned char* data, size_t size)
{
    uint32_t a = 1;
    uint32_t b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

void PngWriter::encode(int width, int height, const unsigned char* rgb, std::vector<unsigned char>& out)
{
    static const unsigned char signature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    out.insert(out.end(), signature, signature + sizeof(signature));

    std::vector<unsigned char> header;
    putBig32(header, static_cast<uint32_t>(width));
    putBig32(header, static_cast<uint32_t>(height));
    header.push_back(8);  // bits per sample
    header.push_back(2);  // colour type: RGB
    header.push_back(0);  // deflate
    header.push_back(0);  // adaptive filtering, every row uses filter 0 (none)
    header.push_back(0);  // not interlaced
    putChunk(out, "IHDR", header);

    // The filtered image: each row is a filter-type byte followed by its pixels.
    size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<unsigned char> raw;
    raw.reserve((rowBytes + 1) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const unsigned char* row = rgb + rowBytes * static_cast<size_t>(y);
        raw.insert(raw.end(), row, row + rowBytes);
    }

    // zlib stream: CMF/FLG (deflate, 32K window, check bits), stored blocks, Adler-32.
    std::vector<unsigned char> zlib;
    zlib.push_back(0x78);
    zlib.push_back(0x01);
    size_t offset = 0;
    do {
        size_t blockSize = raw.size() - offset;
        if (blockSize > 65535) {
            blockSize = 65535;
        }
        bool last = offset + blockSize == raw.size();
        zlib.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
        putLittle16(zlib, static_cast<unsigned>(blockSize));
        putLittle16(zlib, static_cast<unsigned>(~blockSize & 0xFFFF));
        zlib.insert(zlib.end(), raw.begin() + offset, raw.begin() + offset + blockSize);
        offset += blockSize;
    } while (offset < raw.size());
    putBig32(zlib, adler32(raw.data(), raw.size()));
    putChunk(out, "IDAT", zlib);

    putChunk(out, "IEND", std::vector<unsigned char>());
}

bool PngWriter::writeFile(const char* path, int width, int height, const unsigned char* rgb)
{
    std::vector<unsigned char> bytes;
    encode(width, height, rgb, bytes);
    FILE* file = fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (fclose(file) != 0) {
        written = false;
    }
    return written;
}

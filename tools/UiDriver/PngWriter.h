// PngWriter.h: writes 24-bit RGB pixels as a PNG file, with stored (uncompressed) deflate blocks.
#ifndef UIDRIVER_PNG_WRITER_H
#define UIDRIVER_PNG_WRITER_H

#include <cstddef>
#include <cstdint>
#include <vector>

class PngWriter
{
public:
    PngWriter();
    virtual ~PngWriter();

    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    // Encodes width x height pixels, rows top-down, 3 bytes (R, G, B) each; appends to out.
    void encode(int width, int height, const unsigned char* rgb, std::vector<unsigned char>& out);
    // Encodes and writes to path (ANSI); false when the file cannot be written completely.
    bool writeFile(const char* path, int width, int height, const unsigned char* rgb);

    // The CRC-32 of PNG chunks (ISO 3309, reflected polynomial 0xEDB88320).
    static uint32_t crc32(const unsigned char* data, size_t size, uint32_t crc = 0);
    // The Adler-32 checksum that ends a zlib stream.
    static uint32_t adler32(const unsigned char* data, size_t size);
};

#endif

// WindowImage.cpp: a BitBlt from the screen DC into a top-down DIB section.
#include "WindowImage.h"

#include "PngWriter.h"

#include <set>

WindowImage::WindowImage()
    : width(0), height(0)
{
}

WindowImage::~WindowImage()
{
}

bool WindowImage::capture(HWND window)
{
    width = 0;
    height = 0;
    pixels.clear();
    RECT rect = {};
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) {
        return false;
    }
    int w = rect.right - rect.left;
    int h = rect.bottom - rect.top;

    // A window of another process cannot paint into our DC (PrintWindow would hand it a
    // DC handle that means nothing there), so the pixels come from the screen itself.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (memory != nullptr && bitmap != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, w, h, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT) != FALSE;
        GdiFlush();
        SelectObject(memory, previous);
    }
    if (ok) {
        const unsigned char* bgra = static_cast<const unsigned char*>(bits);
        pixels.resize(static_cast<size_t>(w) * h * 3);
        for (size_t i = 0, n = static_cast<size_t>(w) * h; i < n; ++i) {
            pixels[i * 3] = bgra[i * 4 + 2];
            pixels[i * 3 + 1] = bgra[i * 4 + 1];
            pixels[i * 3 + 2] = bgra[i * 4];
        }
        width = w;
        height = h;
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (memory != nullptr) {
        DeleteDC(memory);
    }
    ReleaseDC(nullptr, screen);
    return ok;
}

bool WindowImage::savePng(const char* path) const
{
    if (pixels.empty()) {
        return false;
    }
    PngWriter writer;
    return writer.writeFile(path, width, height, pixels.data());
}

int WindowImage::getWidth() const
{
    return width;
}

int WindowImage::getHeight() const
{
    return height;
}

const std::vector<unsigned char>& WindowImage::getPixels() const
{
    return pixels;
}

int WindowImage::countColours(int limit) const
{
    std::set<unsigned long> colours;
    for (size_t i = 0; i + 2 < pixels.size() && static_cast<int>(colours.size()) < limit; i += 3) {
        colours.insert((static_cast<unsigned long>(pixels[i]) << 16) | (pixels[i + 1] << 8) | pixels[i + 2]);
    }
    return static_cast<int>(colours.size());
}

// StringBufferFuzz.cpp: libFuzzer target for split and for sequences of text buffer operations.
#include "ExtPtrArray.h"
#include "StringBuffer.h"

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

namespace {

const size_t textLimit = 1 << 16;

void check(bool condition)
{
    if (!condition) {
        abort();
    }
}

// The invariants, and the text the operations should have left.
void checkBuffer(const StringBuffer& text, const std::string& expected)
{
    check(text.getSize() >= 0);
    check(text.getSize() < text.getCapacity());
    check(text.getString()[text.getSize()] == '\0');
    check(strlen(text.getString()) == static_cast<size_t>(text.getSize()));
    check(expected == text.getString());
}

// Consumes the input from the front.
class Input
{
public:
    Input(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool empty() const { return size == 0; }

    uint8_t byte()
    {
        if (size == 0) {
            return 0;
        }
        --size;
        return *data++;
    }

    unsigned int word()
    {
        unsigned int value = 0;
        for (int i = 0; i < 4; ++i) {
            value = value << 8 | byte();
        }
        return value;
    }

    // Up to 255 raw bytes, NUL bytes included.
    std::string chunk()
    {
        size_t n = byte();
        if (n > size) {
            n = size;
        }
        std::string text(reinterpret_cast<const char*>(data), n);
        data += n;
        size -= n;
        return text;
    }

private:
    const uint8_t* data;
    size_t size;
};

// What append and setString take of a text: everything before its first NUL.
std::string beforeNul(const std::string& text)
{
    return std::string(text.c_str());
}

void splitAtEverySeparator(const std::string& text)
{
    StringBuffer buffer;
    buffer.append(text.c_str());
    bool seen[256] = {};
    for (unsigned char c : text) {
        if (seen[c]) {
            continue;
        }
        seen[c] = true;
        const char separator = static_cast<char>(c);
        size_t separators = 0;
        for (char t : text) {
            separators += t == separator ? 1 : 0;
        }
        for (int flags = 0; flags < 4; ++flags) {
            const bool honorQuotes = (flags & 1) != 0;
            const bool honorEscapes = (flags & 2) != 0;
            ExtPtrArray list;
            buffer.split(list, separator, honorQuotes, honorEscapes);
            // Every character that does not separate stays in a piece, so joining the
            // pieces again gives the text back.
            std::string joined;
            for (int i = 0; i < list.getSize(); ++i) {
                const StringBuffer* piece = static_cast<const StringBuffer*>(list.elementAt(i));
                check(piece != nullptr);
                checkBuffer(*piece, piece->getString());
                check(piece->getCapacity() - piece->getSize() <= 4);
                if (i > 0) {
                    joined += separator;
                }
                joined += piece->getString();
            }
            check(joined == text);
            if (!honorQuotes && !honorEscapes) {
                check(static_cast<size_t>(list.getSize()) == separators + 1);
            } else {
                check(list.getSize() >= 1 && static_cast<size_t>(list.getSize()) <= separators + 1);
            }
            check(list.elementAt(list.getSize()) == nullptr);
            list.removeAllObjects();
        }
        checkBuffer(buffer, text);
    }
}

// Applies operations decoded from the input to a buffer and to a model of its text.
void runOperations(Input& input)
{
    StringBuffer text;
    StringBuffer other;
    std::string model;
    std::string otherModel;
    while (!input.empty()) {
        // Self-appends double the text; past this size a sequence would only test memory.
        if (model.size() > textLimit) {
            text.clear();
            model.clear();
        }
        const int capacityBefore = text.getCapacity();
        const int growByBefore = text.getGrowBy();
        const size_t sizeBefore = model.size();
        switch (input.byte() % 11) {
        case 0: {
            std::string added = input.chunk();
            text.append(added.c_str());
            model += beforeNul(added);
            break;
        }
        case 1: {
            char c = static_cast<char>(input.byte());
            text.appendChar(c);
            if (c != '\0') {
                model += c;
            }
            break;
        }
        case 2: {
            std::string added = input.chunk();
            unsigned int times = input.byte();
            std::string repeated;
            for (unsigned int i = 0; i < times; ++i) {
                repeated += beforeNul(added);
            }
            text.append(repeated.c_str());
            model += repeated;
            break;
        }
        case 3: {
            std::string replacement = input.chunk();
            text.setString(replacement.c_str());
            model = beforeNul(replacement);
            break;
        }
        case 4: {
            size_t offset = input.byte() % (model.size() + 1);
            text.setString(text.getString() + offset);
            model = model.substr(offset);
            break;
        }
        case 5: {
            size_t offset = input.byte() % (model.size() + 1);
            text.append(text.getString() + offset);
            model += model.substr(offset);
            break;
        }
        case 6: {
            unsigned int n = input.word();
            text.shorten(n);
            model.resize(n >= model.size() ? 0 : model.size() - n);
            break;
        }
        case 7:
            text.shrinkToFit();
            check(text.getGrowBy() == growByBefore);
            if (capacityBefore > static_cast<int>(model.size()) + 4) {
                check(text.getCapacity() == static_cast<int>(model.size()) + 1);
            } else {
                check(text.getCapacity() == capacityBefore);
            }
            break;
        case 8:
            if (input.byte() & 1) {
                text.setFrom(text);
                model.clear();
            } else {
                text.setFrom(other);
                model = otherModel;
            }
            break;
        case 9:
            text.clear();
            check(text.getCapacity() == capacityBefore);
            model.clear();
            break;
        default: {
            std::string added = input.chunk();
            other.append(added.c_str());
            otherModel += beforeNul(added);
            checkBuffer(other, otherModel);
            break;
        }
        }
        // Growth happens exactly when the text no longer fits, by the policy's figures.
        if (model.size() > sizeBefore && text.getCapacity() != capacityBefore) {
            const long long needed = static_cast<long long>(model.size());
            check(needed >= capacityBefore);
            check(text.getCapacity() == needed + growByBefore + 1);
            if (growByBefore < 500000) {
                const int half = text.getCapacity() / 2;
                check(text.getGrowBy() == (half < 500000 ? half : 500000));
            } else {
                check(text.getGrowBy() == growByBefore);
            }
        }
        checkBuffer(text, model);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input input(data, size);
    if (input.byte() & 1) {
        std::string text = beforeNul(std::string(reinterpret_cast<const char*>(data), size));
        splitAtEverySeparator(text);
    } else {
        runOperations(input);
    }
    return 0;
}

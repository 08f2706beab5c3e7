// ExtPtrArray.cpp: the owning list and its growth policy.
#include "ExtPtrArray.h"

#include "FailFast.h"
#include "VantrelObject.h"

#include <limits.h>

namespace {

const int initialSlots = 5;
const int growByLimit = 100000;

// A slot array larger than this could not be sized in a signed 32-bit byte count.
const long long slotLimit = INT_MAX / static_cast<long long>(sizeof(VantrelObject*));

VantrelObject** newSlots(long long n)
{
    if (n > slotLimit) {
        failFast();
    }
    VantrelObject** slots = new VantrelObject*[n];
    for (long long i = 0; i < n; ++i) {
        slots[i] = nullptr;
    }
    return slots;
}

} // namespace

ExtPtrArray::ExtPtrArray()
    : growBy(initialSlots), capacity(0), count(0), slots(nullptr)
{
}

ExtPtrArray::~ExtPtrArray()
{
    delete[] slots;
}

void ExtPtrArray::appendPtr(VantrelObject* p)
{
    if (slots == nullptr) {
        slots = newSlots(initialSlots);
        capacity = initialSlots;
    }
    if (count == INT_MAX) {
        failFast();
    }
    ++count;
    if (count > capacity) {
        long long grown = static_cast<long long>(capacity) + growBy;
        if (grown <= count) {
            grown = static_cast<long long>(count) + 1;
        }
        VantrelObject** larger = newSlots(grown);
        for (int i = 0; i < count - 1; ++i) {
            larger[i] = slots[i];
        }
        delete[] slots;
        slots = larger;
        capacity = static_cast<int>(grown);
        if (growBy < growByLimit) {
            growBy = capacity < growByLimit ? capacity : growByLimit;
        }
    }
    slots[count - 1] = p;
}

VantrelObject* ExtPtrArray::elementAt(int i) const
{
    if (i < 0 || i >= count) {
        return nullptr;
    }
    return slots[i];
}

void ExtPtrArray::removeAllObjects()
{
    for (int i = 0; i < count; ++i) {
        if (slots[i] != nullptr) {
            delete slots[i];
            slots[i] = nullptr;
        }
    }
    count = 0;
}

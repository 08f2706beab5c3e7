// ExtPtrArray.h: growable list of VantrelObject pointers, owning them only through removeAllObjects.
#ifndef FOUNDATION_EXT_PTR_ARRAY_H
#define FOUNDATION_EXT_PTR_ARRAY_H

class VantrelObject;

class ExtPtrArray
{
public:
    ExtPtrArray();
    // Releases the slot array, not the entries: call removeAllObjects() first.
    virtual ~ExtPtrArray();

    ExtPtrArray(const ExtPtrArray&) = delete;
    ExtPtrArray& operator=(const ExtPtrArray&) = delete;

    // Adds p at the end.
    void appendPtr(VantrelObject* p);
    // Entries in use.
    int getSize() const { return count; }
    // Slots allocated.
    int getCapacity() const { return capacity; }
    // Entries the next growth adds.
    int getGrowBy() const { return growBy; }
    // The entry at index i, or null when i is outside 0 .. getSize() - 1.
    VantrelObject* elementAt(int i) const;
    // Deletes every entry in index order and empties the list; the slots stay allocated.
    void removeAllObjects();

private:
    int growBy;
    int capacity;
    int count;
    VantrelObject** slots;
};

#endif

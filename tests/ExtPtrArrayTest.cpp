// ExtPtrArrayTest.cpp: entries, bounds and destruction of the owning list.
#include "ExtPtrArray.h"
#include "VantrelObject.h"

#include <gtest/gtest.h>

#include <limits.h>

#include <vector>

namespace {

// Records, in order, the ids of the objects destroyed through a VantrelObject pointer.
class CountingObject : public VantrelObject
{
public:
    CountingObject(int id, std::vector<int>& destroyed) : id(id), destroyed(destroyed) {}
    ~CountingObject() override { destroyed.push_back(id); }

private:
    int id;
    std::vector<int>& destroyed;
};

TEST(ExtPtrArrayTest, EntriesSurviveGrowthInOrder)
{
    std::vector<int> destroyed;
    std::vector<CountingObject*> objects;
    ExtPtrArray list;
    for (int i = 0; i < 23; ++i) {
        objects.push_back(new CountingObject(i, destroyed));
        list.appendPtr(objects.back());
    }
    ASSERT_EQ(23, list.getSize());
    // 5, then 10, 20 and 40 slots.
    EXPECT_EQ(40, list.getCapacity());
    EXPECT_EQ(40, list.getGrowBy());
    for (int i = 0; i < 23; ++i) {
        EXPECT_EQ(objects[i], list.elementAt(i)) << i;
    }
    list.removeAllObjects();
}

TEST(ExtPtrArrayTest, ElementAtOutsideTheEntriesIsNull)
{
    ExtPtrArray list;
    EXPECT_EQ(nullptr, list.elementAt(0));
    EXPECT_EQ(nullptr, list.elementAt(-1));

    std::vector<int> destroyed;
    list.appendPtr(new CountingObject(0, destroyed));
    list.appendPtr(new CountingObject(1, destroyed));
    const int outside[] = {-1, 2, 3, 4, 5, INT_MAX, INT_MIN};
    for (int i : outside) {
        EXPECT_EQ(nullptr, list.elementAt(i)) << i;
    }
    EXPECT_NE(nullptr, list.elementAt(1));
    list.removeAllObjects();
}

TEST(ExtPtrArrayTest, RemoveAllObjectsDestroysThroughTheVirtualDestructor)
{
    std::vector<int> destroyed;
    ExtPtrArray list;
    for (int i = 0; i < 6; ++i) {
        list.appendPtr(new CountingObject(i, destroyed));
    }
    list.appendPtr(nullptr);
    list.appendPtr(new CountingObject(7, destroyed));
    ASSERT_EQ(10, list.getCapacity());

    list.removeAllObjects();
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 7}), destroyed);
    EXPECT_EQ(0, list.getSize());
    EXPECT_EQ(nullptr, list.elementAt(0));
    EXPECT_EQ(10, list.getCapacity());
    EXPECT_EQ(10, list.getGrowBy());

    // A second call finds nothing left to destroy.
    list.removeAllObjects();
    EXPECT_EQ(7u, destroyed.size());
}

TEST(ExtPtrArrayTest, ListIsReusedAfterRemoveAllObjects)
{
    std::vector<int> destroyed;
    ExtPtrArray list;
    for (int i = 0; i < 6; ++i) {
        list.appendPtr(new CountingObject(i, destroyed));
    }
    list.removeAllObjects();

    CountingObject* again = new CountingObject(100, destroyed);
    list.appendPtr(again);
    EXPECT_EQ(1, list.getSize());
    EXPECT_EQ(again, list.elementAt(0));
    EXPECT_EQ(nullptr, list.elementAt(1));
    EXPECT_EQ(10, list.getCapacity());

    list.removeAllObjects();
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 100}), destroyed);
}

} // namespace

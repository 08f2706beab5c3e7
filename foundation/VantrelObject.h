// VantrelObject.h: root class of the family's objects; owners destroy entries through it.
#ifndef FOUNDATION_VANTREL_OBJECT_H
#define FOUNDATION_VANTREL_OBJECT_H

class VantrelObject
{
public:
    VantrelObject() = default;
    virtual ~VantrelObject();

    VantrelObject(const VantrelObject&) = delete;
    VantrelObject& operator=(const VantrelObject&) = delete;
};

#endif

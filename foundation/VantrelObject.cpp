// VantrelObject.cpp: the out-of-line destructor anchors the class's vtable here.
#include "VantrelObject.h"

VantrelObject::~VantrelObject()
{
}

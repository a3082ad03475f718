#include <Tessara/base/SoPathList.h>

int SoPathList::findPath(const SoPath& path) const {
    for (int i = 0; i < getLength(); ++i)
        if (*(*this)[i] == path) return i;
    return -1;
}

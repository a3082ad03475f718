#include <Tessara/actions/SoEnabledElementsList.h>

#include <algorithm>

namespace {
int enableCounter = 0;
}

SoEnabledElementsList::SoEnabledElementsList(SoEnabledElementsList* parentList)
    : parent_(parentList) {}

void SoEnabledElementsList::enable(SoType elementType, int stackIndex) {
    for (auto& e : elements_) {
        if (e.second == stackIndex) {
            e.first = elementType;
            return;
        }
    }
    elements_.emplace_back(elementType, stackIndex);
    ++enableCounter;
}

std::vector<int> SoEnabledElementsList::getStackIndices() const {
    std::vector<int> indices = parent_ ? parent_->getStackIndices() : std::vector<int>();
    for (const auto& e : elements_) {
        if (std::find(indices.begin(), indices.end(), e.second) == indices.end())
            indices.push_back(e.second);
    }
    return indices;
}

bool SoEnabledElementsList::isEnabled(int stackIndex) const {
    for (const auto& e : elements_)
        if (e.second == stackIndex) return true;
    return parent_ && parent_->isEnabled(stackIndex);
}

int SoEnabledElementsList::getCounter() {
    return enableCounter;
}

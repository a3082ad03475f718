#include "IoTestSupport.h"

#include <Tessara/actions/SoWriteAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoNodeList.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/io/SoOutput.h>

#include <map>
#include <utility>
#include <vector>

namespace {

// The type system must know every class before a file names them.
class DatabaseEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { SoDB::init(); }
    void TearDown() override { SoDB::finish(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new DatabaseEnvironment);

::testing::AssertionResult compareNodes(SoNode* a, SoNode* b) {
    if (a->getTypeId() != b->getTypeId())
        return ::testing::AssertionFailure() << a->getTypeId().getName().getString() << " vs "
                                             << b->getTypeId().getName().getString();
    for (int i = 0; i < a->getNumFields(); ++i) {
        const SoField* fa = a->getFieldAt(i);
        const SoField* fb = b->getFieldAt(i);
        const std::string ta = iotest::fieldText(fa), tb = iotest::fieldText(fb);
        if (fa->isDefault() != fb->isDefault() || ta != tb)
            return ::testing::AssertionFailure() << "field " << a->getFieldNameAt(i) << " of "
                                                 << a->getTypeId().getName().getString() << ": \""
                                                 << ta << "\" vs \"" << tb << "\"";
    }
    const SoNodeList* ca = a->getChildren();
    const SoNodeList* cb = b->getChildren();
    if (!ca != !cb || (ca && ca->getLength() != cb->getLength()))
        return ::testing::AssertionFailure()
               << "children of " << a->getTypeId().getName().getString() << " differ";
    return ::testing::AssertionSuccess();
}

}  // namespace

const char* const iotest::kHeader = "#Tessara V1.0 ascii\n";

iotest::Held<SoSeparator> iotest::readText(const std::string& text) {
    SoInput in;
    in.setBuffer(text.data(), text.size());
    return hold(SoDB::readAll(&in));
}

iotest::Held<SoSeparator> iotest::readScene(const std::string& body) {
    return readText(std::string(kHeader) + body);
}

std::string iotest::writeText(SoNode* node) {
    SoOutput out;
    out.setBuffer();
    SoWriteAction writer(&out);
    writer.apply(node);
    return out.getString();
}

std::string iotest::fieldText(const SoField* field) {
    SoOutput out;
    out.setBuffer();
    field->write(&out);
    return out.getString();
}

::testing::AssertionResult iotest::sameGraph(SoNode* a, SoNode* b) {
    std::map<SoNode*, SoNode*> forward, backward;
    std::vector<std::pair<SoNode*, SoNode*>> stack{{a, b}};
    while (!stack.empty()) {
        const auto [na, nb] = stack.back();
        stack.pop_back();
        const auto fa = forward.find(na);
        const auto fb = backward.find(nb);
        if (fa != forward.end() || fb != backward.end()) {
            if (fa == forward.end() || fb == backward.end() || fa->second != nb)
                return ::testing::AssertionFailure() << "the graphs share different nodes";
            continue;
        }
        forward[na] = nb;
        backward[nb] = na;
        const ::testing::AssertionResult same = compareNodes(na, nb);
        if (!same) return same;
        if (const SoNodeList* ca = na->getChildren())
            for (int i = ca->getLength() - 1; i >= 0; --i)
                stack.emplace_back((*ca)[i], (*nb->getChildren())[i]);
    }
    return ::testing::AssertionSuccess();
}

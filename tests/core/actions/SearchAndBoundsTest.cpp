// The search and bounding-box actions, and traversals forwarded to alternate representations.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/actions/SoGetBoundingBoxAction.h>
#include <Tessara/actions/SoSearchAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoCube.h>
#include <Tessara/nodes/SoSeparator.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class SearchAndBoundsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SoDB::init();
        const std::string text =
            "#Tessara V1.0 ascii\nSeparator { Translation { translation -5 0 0 } DEF box Cube { } "
            "} Switch { Sphere { } } Scale { scaleFactor 2 1 1 } Sphere { }";
        SoInput in;
        in.setBuffer(text.data(), text.size());
        root = SoDB::readAll(&in);
        root->ref();
        cube = static_cast<SoGroup*>(root->getChild(0))->getChild(1);
        hidden = static_cast<SoGroup*>(root->getChild(1))->getChild(0);
        sphere = root->getChild(3);
    }
    void TearDown() override {
        root->unref();
        SoDB::finish();
    }
    SoSeparator* root;
    SoNode* cube;
    SoNode* sphere;
    SoNode* hidden;
};

TEST_F(SearchAndBoundsTest, SearchFindsByNodeTypeAndName) {
    const SoType shape = SoShape::getClassTypeId(), none = SoType::badType();
    const SoSearchAction::Interest first = SoSearchAction::FIRST, all = SoSearchAction::ALL;
    const struct {
        SoNode* node;
        const char* name;
        SoType type;
        bool derivedIsOk;
        SoSearchAction::Interest interest;
        bool searchingAll;
        std::vector<SoNode*> found;
    } cases[] = {
        {nullptr, nullptr, shape, true, first, false, {cube}},
        {nullptr, nullptr, shape, true, SoSearchAction::LAST, false, {sphere}},
        {nullptr, nullptr, shape, true, all, false, {cube, sphere}},
        {nullptr, nullptr, shape, true, all, true, {cube, hidden, sphere}},  // below switches too
        {nullptr, nullptr, shape, false, first, false, {}},                  // exact type only
        {sphere, nullptr, none, true, first, false, {sphere}},
        {sphere, "box", none, true, first, false, {}},  // every criterion must hold
        {nullptr, "box", none, true, first, false, {cube}},
    };
    SoSearchAction search;
    for (const auto& c : cases) {
        search.reset();
        if (c.node) search.setNode(c.node);
        if (c.name) search.setName(c.name);
        if (!c.type.isBad()) search.setType(c.type, c.derivedIsOk);
        search.setInterest(c.interest);
        search.setSearchingAll(c.searchingAll);
        search.apply(root);
        std::vector<SoNode*> found;
        for (int i = 0; i < search.getPaths().getLength(); ++i)
            found.push_back(search.getPaths()[i]->getTail());
        if (search.getPath() != nullptr) found.push_back(search.getPath()->getTail());
        EXPECT_EQ(found, c.found) << &c - cases;
        EXPECT_EQ(search.isFound(), !c.found.empty());
    }
    // The last search leaves the path to the cube.
    ASSERT_EQ(search.getPath()->getLength(), 3);
    EXPECT_EQ(search.getPath()->getIndex(1), 0);

    // The bounding box of a path covers its tail, where the path puts it.
    SoGetBoundingBoxAction bounds;
    bounds.apply(search.getPath());
    EXPECT_EQ(bounds.getBoundingBox(), SbBox3f(-6, -1, -1, -4, 1, 1));
    EXPECT_EQ(bounds.getCenter(), SbVec3f(-5, 0, 0));
    bounds.apply(root);  // the cube moved left, the sphere stretched along x
    EXPECT_EQ(bounds.getBoundingBox(), SbBox3f(-6, -1, -1, 2, 1, 1));
}

// A group standing for another node: actions that use alternate representations
// traverse the stand-in instead, through a forwarded traversal.
class StandIn : public SoGroup {
  public:
    SoNode* replacement = nullptr;
    SoNode* getAlternateRep() const override { return replacement; }
};

struct PathLengths {
    int light = -1, full = -1;
};

SoCallbackAction::Response probeCube(void* data, SoCallbackAction* action, const SoNode*) {
    auto* lengths = static_cast<PathLengths*>(data);
    lengths->light = action->getCurLightPath()->getLength();
    lengths->full = action->getCurPath()->getLength();
    return SoCallbackAction::CONTINUE;
}

TEST_F(SearchAndBoundsTest, AlternateRepresentationsAreForwarded) {
    auto* standIn = new StandIn;
    standIn->replacement = cube;
    auto* holder = new SoSeparator;
    holder->ref();
    holder->addChild(standIn);

    PathLengths lengths;
    SoCallbackAction action;
    action.addPreCallback(SoCube::getClassTypeId(), probeCube, &lengths);
    action.apply(holder);
    EXPECT_EQ(lengths.full, -1);  // not used by default
    action.useAlternateRep(true);
    action.apply(holder);
    EXPECT_EQ(lengths.full, 3);   // holder, stand-in, replacement
    EXPECT_EQ(lengths.light, 2);  // the replacement is not part of the light path
    holder->unref();
}

}  // namespace

// Callback order, pruning, aborting, switches, and application to paths and path lists.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/base/SoPathList.h>
#include <Tessara/base/SoSceneLimits.h>
#include <Tessara/nodes/SoCube.h>
#include <Tessara/nodes/SoGroup.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoSwitch.h>
#include <Tessara/nodes/SoTranslation.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/DebugErrorRecorder.h"

namespace {

using Events = std::vector<std::string>;

struct Recorder {
    Events events;
    std::string respondTo;
    SoCallbackAction::Response response = SoCallbackAction::CONTINUE;
    bool pathLengths = false;  // each pre event followed by the length of the current path
};

SoCallbackAction::Response pre(void* data, SoCallbackAction* action, const SoNode* node) {
    auto* r = static_cast<Recorder*>(data);
    const std::string name = node->getName().getString();
    const int length = action->getCurPath()->getLength();
    r->events.push_back("pre " + name + (r->pathLengths ? " " + std::to_string(length) : ""));
    return name == r->respondTo ? r->response : SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response post(void* data, SoCallbackAction*, const SoNode* node) {
    static_cast<Recorder*>(data)->events.push_back("post " +
                                                   std::string(node->getName().getString()));
    return SoCallbackAction::CONTINUE;
}

template <class T>
T* named(const char* name) {
    auto* node = new T;
    node->setName(name);
    return node;
}

// root { group { a b } sep { c } }
class TraversalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SoDB::init();
        root = named<SoSeparator>("root");
        root->ref();
        group = named<SoGroup>("group");
        sep = named<SoSeparator>("sep");
        root->addChild(group);
        root->addChild(sep);
        group->addChild(named<SoTranslation>("a"));
        group->addChild(named<SoTranslation>("b"));
        sep->addChild(named<SoTranslation>("c"));
    }
    void TearDown() override {
        root->unref();
        SoDB::finish();
    }
    template <class Target>
    Events run(const Target& target, Recorder r, SoType type = SoNode::getClassTypeId(),
               bool withPost = true) {
        SoCallbackAction action;
        action.addPreCallback(type, pre, &r);
        if (withPost) action.addPostCallback(type, post, &r);
        action.apply(target);
        return r.events;
    }
    SoSeparator* root;
    SoGroup* group;
    SoSeparator* sep;
};

TEST_F(TraversalTest, CallbacksNestDepthFirstAndResponsesSteerTheWalk) {
    const struct {
        const char* respondTo;
        SoCallbackAction::Response response;
        Events events;
    } cases[] = {
        {"",
         SoCallbackAction::CONTINUE,
         {"pre root", "pre group", "pre a", "post a", "pre b", "post b", "post group", "pre sep",
          "pre c", "post c", "post sep", "post root"}},
        {"group",
         SoCallbackAction::PRUNE,  // children skipped, the post callback kept
         {"pre root", "pre group", "post group", "pre sep", "pre c", "post c", "post sep",
          "post root"}},
        {"a", SoCallbackAction::ABORT, {"pre root", "pre group", "pre a"}},
    };
    for (const auto& c : cases) {
        Recorder r;
        r.respondTo = c.respondTo;
        r.response = c.response;
        EXPECT_EQ(run(root, r), c.events) << c.respondTo;
    }
    EXPECT_EQ(run(root, Recorder(), SoTranslation::getClassTypeId(), false),
              (Events{"pre a", "pre b", "pre c"}));
}

TEST_F(TraversalTest, SwitchTraversesOnlyTheChosenChildren) {
    auto* sw = named<SoSwitch>("sw");
    sw->ref();
    sw->addChild(named<SoTranslation>("s0"));
    sw->addChild(named<SoTranslation>("s1"));
    const struct {
        int which;
        Events events;
    } cases[] = {
        {1, {"pre sw", "pre s1", "post s1", "post sw"}},
        {SoSwitch::SO_SWITCH_ALL, {"pre sw", "pre s0", "post s0", "pre s1", "post s1", "post sw"}},
        {SoSwitch::SO_SWITCH_NONE, {"pre sw", "post sw"}},
        {SoSwitch::SO_SWITCH_INHERIT, {"pre sw", "post sw"}},  // with no switch above: none
    };
    for (const auto& c : cases) {
        sw->whichChild = c.which;
        EXPECT_EQ(run(sw, Recorder()), c.events) << c.which;
    }
    sw->unref();
}

TEST_F(TraversalTest, PathsVisitTheirNodesAndTheSiblingsThatSetState) {
    Recorder lengths;
    lengths.pathLengths = true;
    EXPECT_EQ(run(root, lengths, SoNode::getClassTypeId(), false),
              (Events{"pre root 1", "pre group 2", "pre a 3", "pre b 3", "pre sep 2", "pre c 3"}));

    // Off the path, the group of a and b sets state and is traversed; shapes, separators and
    // whatever follows the path are not.
    root->insertChild(named<SoCube>("sideCube"), 0);
    root->insertChild(named<SoSeparator>("sideSep"), 1);
    root->addChild(named<SoTranslation>("after"));
    sep->addChild(named<SoCube>("cube"));
    SoPath* path = new SoPath(root);
    path->ref();
    path->append(sep);
    EXPECT_EQ(run(path, Recorder(), SoNode::getClassTypeId(), false),
              (Events{"pre root", "pre group", "pre a", "pre b", "pre sep", "pre c", "pre cube"}));

    SoPath* toA = new SoPath(root);
    toA->append(group);
    toA->append(group->getChild(0));
    SoPathList list;
    list.append(toA);
    list.append(path);
    EXPECT_EQ(run(list, Recorder(), SoTranslation::getClassTypeId(), false),
              (Events{"pre a", "pre a", "pre b", "pre c"}));
    path->unref();

    auto* lonely = new SoTranslation;  // applying to an unreferenced node does not delete it
    SoCallbackAction().apply(lonely);
    EXPECT_EQ(lonely->getRefCount(), 0);
    lonely->ref();
    lonely->unref();
}

}  // namespace

// A graph that a program nests deeper than any file may: the action walks down to the limit,
// says once that it skips the rest, and goes on with the siblings.
void countTriangle(void* data, SoCallbackAction*, const SoPrimitiveVertex*,
                   const SoPrimitiveVertex*, const SoPrimitiveVertex*) {
    ++*static_cast<long long*>(data);
}

// One cube shared six times in sep, before c: a limit of primitives, of the action or the
// default of actions made later, ends each apply at the primitive beyond it, with one warning.
TEST_F(TraversalTest, APrimitiveLimitEndsTheTraversalWithOneWarning) {
    auto* cube = new SoCube;
    for (int k = 0; k < 6; ++k) sep->insertChild(cube, 0);
    auto apply = [&](long long limit, bool asDefault, Recorder& r) {
        SoCallbackAction::setDefaultPrimitiveLimit(asDefault ? limit : 0);
        SoCallbackAction action;
        SoCallbackAction::setDefaultPrimitiveLimit(0);
        if (!asDefault) action.setPrimitiveLimit(limit);
        long long count = 0;
        action.addTriangleCallback(SoCube::getClassTypeId(), countTriangle, &count);
        action.addPreCallback(SoTranslation::getClassTypeId(), pre, &r);
        action.apply(root);
        return count;
    };
    Recorder r;
    const long long all = apply(0, false, r);
    // A negative limit here is set as the default.
    for (const long long limit : {all, all / 2, -all / 3, all + 1}) {
        DebugErrorRecorder recorder;
        const long long delivered = std::min(all, std::abs(limit));
        for (int time = 1; time <= 2; ++time) {
            EXPECT_EQ(apply(std::abs(limit), limit < 0, r), delivered) << limit;
            EXPECT_EQ(r.events.back() == "pre c", delivered == all) << limit;
            EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), delivered < all ? time : 0);
        }
    }
}

TEST_F(TraversalTest, NodesBeyondTheNestingLimitAreSkippedWithOneMessage) {
    // root and group are levels 1 and 2: the groups below reach the limit exactly.
    SoGroup* deepest = group;
    for (int level = 3; level <= SoSceneLimits::maxNestingDepth - 1; ++level) {
        auto* below = new SoGroup;
        deepest->addChild(below);
        deepest = below;
    }
    deepest->addChild(named<SoTranslation>("atLimit"));
    auto* beyond = new SoGroup;
    deepest->addChild(beyond);
    beyond->addChild(named<SoTranslation>("beyond"));
    DebugErrorRecorder recorder;
    EXPECT_EQ(run(root, Recorder(), SoTranslation::getClassTypeId(), false),
              (Events{"pre a", "pre b", "pre atLimit", "pre c"}));
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 1u) << recorder.dump();
}

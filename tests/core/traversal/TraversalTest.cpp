// Callback order, pruning, aborting, separators restoring state, switches, path and
// path-list application.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/base/SoPathList.h>
#include <Tessara/nodes/SoCube.h>
#include <Tessara/nodes/SoDrawStyle.h>
#include <Tessara/nodes/SoGroup.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoSwitch.h>
#include <Tessara/nodes/SoTranslation.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Recorder {
    std::vector<std::string> events;
    SoCallbackAction::Response preResponse = SoCallbackAction::CONTINUE;
    const SoNode* respondTo = nullptr;
};

std::string nameOf(const SoNode* node) {
    const SbName name = node->getName();
    return name.getLength() > 0 ? name.getString() : node->getTypeId().getName().getString();
}

SoCallbackAction::Response pre(void* data, SoCallbackAction*, const SoNode* node) {
    auto* r = static_cast<Recorder*>(data);
    r->events.push_back("pre " + nameOf(node));
    return node == r->respondTo ? r->preResponse : SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response post(void* data, SoCallbackAction*, const SoNode* node) {
    static_cast<Recorder*>(data)->events.push_back("post " + nameOf(node));
    return SoCallbackAction::CONTINUE;
}

template <class T>
T* named(T* node, const char* name) {
    node->setName(name);
    return node;
}

class TraversalTest : public ::testing::Test {
protected:
    void SetUp() override {
        SoDB::init();
        root = named(new SoSeparator, "root");
        root->ref();
        group = named(new SoGroup, "group");
        a = named(new SoTranslation, "a");
        b = named(new SoTranslation, "b");
        sep = named(new SoSeparator, "sep");
        c = named(new SoTranslation, "c");
        root->addChild(group);
        group->addChild(a);
        group->addChild(b);
        root->addChild(sep);
        sep->addChild(c);
    }
    void TearDown() override {
        root->unref();
        SoDB::finish();
    }
    std::vector<std::string> run(SoNode* node, Recorder& r) {
        SoCallbackAction action;
        action.addPreCallback(SoNode::getClassTypeId(), pre, &r);
        action.addPostCallback(SoNode::getClassTypeId(), post, &r);
        action.apply(node);
        return r.events;
    }
    SoSeparator* root;
    SoGroup* group;
    SoTranslation *a, *b, *c;
    SoSeparator* sep;
};

TEST_F(TraversalTest, PreAndPostCallbacksNestDepthFirst) {
    Recorder r;
    const std::vector<std::string> expected = {"pre root", "pre group", "pre a",    "post a",
                                               "pre b",    "post b",    "post group", "pre sep",
                                               "pre c",    "post c",    "post sep", "post root"};
    EXPECT_EQ(run(root, r), expected);
}

TEST_F(TraversalTest, PruneSkipsChildrenButKeepsPostCallback) {
    Recorder r;
    r.respondTo = group;
    r.preResponse = SoCallbackAction::PRUNE;
    const std::vector<std::string> expected = {"pre root", "pre group", "post group", "pre sep",
                                               "pre c",    "post c",    "post sep",   "post root"};
    EXPECT_EQ(run(root, r), expected);
}

TEST_F(TraversalTest, AbortStopsEverything) {
    Recorder r;
    r.respondTo = a;
    r.preResponse = SoCallbackAction::ABORT;
    const std::vector<std::string> expected = {"pre root", "pre group", "pre a"};
    EXPECT_EQ(run(root, r), expected);
}

TEST_F(TraversalTest, CallbacksFilterByType) {
    Recorder r;
    SoCallbackAction action;
    action.addPreCallback(SoTranslation::getClassTypeId(), pre, &r);
    action.apply(root);
    EXPECT_EQ(r.events, (std::vector<std::string>{"pre a", "pre b", "pre c"}));
}

SoCallbackAction::Response recordTranslation(void* data, SoCallbackAction* action,
                                             const SoNode*) {
    SbVec3f t;
    action->getModelMatrix().multVecMatrix(SbVec3f(0, 0, 0), t);
    static_cast<std::vector<float>*>(data)->push_back(t[0]);
    return SoCallbackAction::CONTINUE;
}

TEST_F(TraversalTest, SeparatorRestoresStateAndGroupDoesNot) {
    a->translation.setValue(SbVec3f(1, 0, 0));
    b->translation.setValue(SbVec3f(2, 0, 0));
    c->translation.setValue(SbVec3f(4, 0, 0));
    auto* after = named(new SoTranslation, "after");
    root->addChild(after);
    std::vector<float> seen;
    SoCallbackAction action;
    action.addPostCallback(SoTranslation::getClassTypeId(), recordTranslation, &seen);
    action.apply(root);
    // a: 1, b: 1+2, c inside the separator: 3+4, after the separator: back to 3 (+0).
    EXPECT_EQ(seen, (std::vector<float>{1, 3, 7, 3}));
}

SoCallbackAction::Response recordDrawStyle(void* data, SoCallbackAction* action, const SoNode*) {
    static_cast<std::vector<int>*>(data)->push_back(action->getDrawStyle());
    return SoCallbackAction::CONTINUE;
}

TEST_F(TraversalTest, ElementsPoppedAfterNestedSeparators) {
    auto* style = new SoDrawStyle;
    style->style = SoDrawStyle::LINES;
    sep->insertChild(style, 0);
    std::vector<int> seen;
    SoCallbackAction action;
    action.addPreCallback(SoTranslation::getClassTypeId(), recordDrawStyle, &seen);
    auto* last = new SoTranslation;
    root->addChild(last);
    action.apply(root);
    EXPECT_EQ(seen, (std::vector<int>{0, 0, 1, 0}));
}

TEST_F(TraversalTest, SwitchTraversesOnlyTheChosenChild) {
    auto* sw = named(new SoSwitch, "sw");
    sw->addChild(named(new SoTranslation, "s0"));
    sw->addChild(named(new SoTranslation, "s1"));
    sw->whichChild = 1;
    Recorder r;
    run(sw, r);
    EXPECT_EQ(r.events, (std::vector<std::string>{"pre sw", "pre s1", "post s1", "post sw"}));
    r.events.clear();
    sw->whichChild = SoSwitch::SO_SWITCH_ALL;
    run(sw, r);
    EXPECT_EQ(r.events.size(), 6u);
    r.events.clear();
    sw->whichChild = SoSwitch::SO_SWITCH_NONE;
    run(sw, r);
    EXPECT_EQ(r.events, (std::vector<std::string>{"pre sw", "post sw"}));
    sw->ref();
    sw->unref();
}

TEST_F(TraversalTest, PathTraversalVisitsOnlyStateAffectingSiblings) {
    auto* cube = named(new SoCube, "cube");
    auto* sideCube = named(new SoCube, "sideCube");
    auto* sideSep = named(new SoSeparator, "sideSep");
    auto* target = named(new SoSeparator, "target");
    auto* before = named(new SoTranslation, "before");
    auto* after = named(new SoTranslation, "after");
    root->removeAllChildren();
    root->addChild(sideCube);  // a shape off the path: skipped
    root->addChild(before);    // a property off the path: traversed
    root->addChild(sideSep);   // a separator off the path: skipped
    root->addChild(target);
    root->addChild(after);     // after the path: skipped
    target->addChild(cube);
    SoPath* path = new SoPath(root);
    path->ref();
    path->append(target);
    Recorder r;
    SoCallbackAction action;
    action.addPreCallback(SoNode::getClassTypeId(), pre, &r);
    action.apply(path);
    EXPECT_EQ(r.events, (std::vector<std::string>{"pre root", "pre before", "pre target", "pre cube"}));
    path->unref();
}

SoCallbackAction::Response recordPathLength(void* data, SoCallbackAction* action, const SoNode*) {
    static_cast<std::vector<int>*>(data)->push_back(action->getCurPath()->getLength());
    return SoCallbackAction::CONTINUE;
}

TEST_F(TraversalTest, CurrentPathFollowsTheTraversal) {
    std::vector<int> lengths;
    SoCallbackAction action;
    action.addPreCallback(SoNode::getClassTypeId(), recordPathLength, &lengths);
    action.apply(root);
    EXPECT_EQ(lengths, (std::vector<int>{1, 2, 3, 3, 2, 3}));
}

TEST_F(TraversalTest, PathListAppliesEachPath) {
    SoPath* p1 = new SoPath(root);
    p1->append(group);
    p1->append(a);
    SoPath* p2 = new SoPath(root);
    p2->append(sep);
    SoPathList list;
    list.append(p1);
    list.append(p2);
    Recorder r;
    SoCallbackAction action;
    action.addPreCallback(SoTranslation::getClassTypeId(), pre, &r);
    action.apply(list);
    // The second path passes the group holding a and b: off its path, but it sets state.
    EXPECT_EQ(r.events, (std::vector<std::string>{"pre a", "pre a", "pre b", "pre c"}));
}

TEST_F(TraversalTest, ApplyToNodeDoesNotDeleteUnreferencedNode) {
    auto* lonely = new SoTranslation;
    SoCallbackAction action;
    action.apply(lonely);
    EXPECT_EQ(lonely->getRefCount(), 0);
    lonely->ref();
    lonely->unref();
}

}  // namespace

#pragma once

#include <Tessara/base/SbName.h>

#include <unordered_map>
#include <vector>

class SoInput;
class SoNode;

/// Builds nodes from scene-file text. Nesting is kept on an explicit stack instead of the
/// call stack, so a deep file cannot overflow it while it is read; the depth and the size
/// that the finished graph would have for a traversal are checked against SoSceneLimits as
/// the nodes close, so that nothing the reader accepts is beyond them.
class SoSceneReader {
  public:
    /// `outerLevels`: the levels the caller puts above the nodes read (a root it adds them to).
    explicit SoSceneReader(SoInput* in, int outerLevels = 0) : in_(in), outerLevels_(outerLevels) {}
    /// Releases whatever a failed read left half built.
    ~SoSceneReader();
    SoSceneReader(const SoSceneReader&) = delete;
    SoSceneReader& operator=(const SoSceneReader&) = delete;

    /// Reads one top-level node: `node` gets it with no reference of the reader's (the input
    /// keeps one on DEF'd nodes), or null at the end of the input. False, with an error
    /// posted through the input, when the text is malformed.
    bool readNode(SoNode*& node);

  private:
    /// A node whose '}' has not been read yet.
    struct Frame {
        SoNode* node;
        SbName defName;
        int line;
        int column;
        /// Of the children closed so far: the most levels below, and the nodes met.
        int height = 0;
        double traversed = 0;
    };
    /// What a node brings to the graph's extent, kept for the nodes that can be used again.
    struct Extent {
        int height;
        double traversed;
    };

    bool readBody(SoNode*& finished);
    bool readFieldOrChild(Frame& top);
    /// Starts the node introduced by `word`: a USE gives `used`, else a frame is pushed.
    bool beginNode(const SbName& word, SoNode*& used);
    bool beginInstance(const SbName& typeName, const SbName& defName);
    bool readDefName(const char* keyword, SbName& name);
    /// Pops the top frame: its node joins its parent, or is returned when it has none.
    bool finishTop(SoNode*& finished);
    void releaseFrames();
    /// Adds a child's extent to the open node; false, with an error, beyond the limits.
    bool addExtent(const Extent& child);
    /// Checks a finished top-level node against what the nodes read before it left.
    bool addTopLevelExtent(const Extent& node);
    /// Of a node closed by this reader, or of one found another way, walked once.
    Extent extentOf(const SoNode* node);
    static const char* typeNameOf(const SoNode* node);

    SoInput* in_;
    int outerLevels_;
    double traversedAtTopLevel_ = 0;
    std::vector<Frame> stack_;
    std::unordered_map<const SoNode*, Extent> extents_;
};

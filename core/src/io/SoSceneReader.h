#pragma once

#include <Tessara/base/SbName.h>

#include <vector>

class SoInput;
class SoNode;

/// Builds nodes from scene-file text. Nesting is kept on an explicit stack instead of the
/// call stack, so a file nested thousands of levels deep cannot overflow it.
class SoSceneReader {
  public:
    explicit SoSceneReader(SoInput* in) : in_(in) {}
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
    };

    bool readBody(SoNode*& finished);
    bool readFieldOrChild(Frame& top);
    /// Starts the node introduced by `word`: a USE gives `used`, else a frame is pushed.
    bool beginNode(const SbName& word, SoNode*& used);
    bool beginInstance(const SbName& typeName, const SbName& defName);
    bool readDefName(const char* keyword, SbName& name);
    /// Pops the top frame: its node joins its parent, or is returned when it has none.
    SoNode* finishTop();
    void releaseFrames();
    static const char* typeNameOf(const SoNode* node);

    SoInput* in_;
    std::vector<Frame> stack_;
};

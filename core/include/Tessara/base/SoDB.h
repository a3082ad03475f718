#pragma once

class SoInput;
class SoSeparator;
class SoNode;

/// The core's database: class registration and scene file reading.
class SoDB {
  public:
    /// Registers every core class; calls are counted and only the first one registers.
    static void init();
    /// Balances one init(); the last one unregisters the core classes.
    static void finish();
    static bool isInitialized();
    static const char* getVersion();

    /// Reads every node of a scene file below a new separator (reference count 0);
    /// null, with a message naming file, line and column, when the file is malformed.
    static SoSeparator* readAll(SoInput* in);
    /// Reads one node (null at the end of the input); false on a syntax error.
    static bool read(SoInput* in, SoNode*& node);
};

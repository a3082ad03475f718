#pragma once

/// The library's entry point: registers its action classes with the core's type system.
class SoPlotWerk {
  public:
    /// Initialises the core database and, on the first call, registers every action class.
    static void init();
    /// Balances one init(); the last one unregisters the action classes.
    static void finish();
    static const char* getProductName();
    static const char* getVersion();

    /// Number of init() calls not yet matched by finish().
    static int s_initRefCount;
};

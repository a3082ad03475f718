#pragma once

#include <string>

/// Shortens a formatted PostScript line: trailing decimal zeros (and a point left with no
/// decimals) go, then leading, repeated and trailing blanks. "0.50 1.00 0.25 gc" becomes
/// "0.5 1 0.25 gc". A number that ends the line keeps its zeros.
class SoPSCompaction {
  public:
    static void compact(std::string& line);

  private:
    static void trimDecimals(std::string& line);
    static void squeezeBlanks(std::string& line);
};

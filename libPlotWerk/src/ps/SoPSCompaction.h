#pragma once

/// Shortens a formatted PostScript line in place: trailing decimal zeros (and a point left
/// with no decimals) go, then leading, repeated and trailing blanks. "0.50 1.00 0.25 gc"
/// becomes "0.5 1 0.25 gc". A number that ends the line keeps its zeros.
class SoPSCompaction {
  public:
    static void compact(char* line);

  private:
    static void trimDecimals(char* line, int length);
    static void squeezeBlanks(char* line);
};

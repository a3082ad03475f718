#pragma once

#include <string>

/// A sheet as the print service describes it, in hundredths of a millimetre: the size and the
/// unprintable margins along each edge.
struct SoGDIPrintMedia {
    int width = 21000, length = 29700;
    int left = 0, top = 0, right = 0, bottom = 0;
};

/// The print queues of the system's print service (CUPS): which one printing goes to, whether
/// a queue exists, and the sheet it prints on by default.
class SoGDIPrintQueue {
  public:
    SoGDIPrintQueue() = delete;

    /// The queue the print dialog takes: the setting "VXN_PWGDI_PRINTER", else the
    /// environment variable PRINTER, else the service's default queue. Empty when that queue
    /// does not exist or there is none (said through SoDebugError), as a cancelled dialog.
    static std::string chosen();
    /// True when the print service knows a queue of that name.
    static bool exists(const std::string& queue);
    /// The queue's default sheet; A4 without margins where the service does not say.
    static SoGDIPrintMedia defaultMedia(const std::string& queue);
};

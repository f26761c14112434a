#pragma once

#include <string>
#include <vector>

#include <windows.h>

// The calls SpoolerPrinter makes on Windows' print spooler and on a printer's device context,
// each as Win32 has it: the system's forwards to winspool and GDI. Tests put one in its place
// that plays what Windows does and Wine does not show: queues that hold jobs, printers that
// stop, resolutions that differ by axis. A call that fails says why in the thread's last error,
// as Win32's do. The page itself is drawn with GDI on the device context createDC gave.
class Spooler {
public:
    virtual ~Spooler() = default;

    // winspool and GDI themselves.
    static Spooler& system();

    // What GetPrinterW tells at level 2 that the printer needs.
    struct PrinterDetails {
        std::wstring port;
        std::wstring driver;
        DWORD status = 0;
        DWORD attributes = 0;
        std::vector<BYTE> devMode;  // the printer's own settings, empty for the driver's
    };

    virtual BOOL defaultPrinter(std::wstring& name) = 0;
    virtual BOOL openPrinter(const std::wstring& name, HANDLE& printer) = 0;
    virtual BOOL printerDetails(HANDLE printer, PrinterDetails& details) = 0;
    // FALSE once the job has left the queue, as for a job never made.
    virtual BOOL jobStatus(HANDLE printer, DWORD jobId, DWORD& status) = 0;
    virtual BOOL closePrinter(HANDLE printer) = 0;

    virtual HDC createDC(const std::wstring& name, const DEVMODEW* devMode) = 0;
    virtual int deviceCaps(HDC dc, int index) = 0;
    virtual int startDoc(HDC dc, const DOCINFOW& document) = 0;
    virtual int startPage(HDC dc) = 0;
    virtual int endPage(HDC dc) = 0;
    virtual int endDoc(HDC dc) = 0;
    virtual int abortDoc(HDC dc) = 0;
    virtual BOOL deleteDC(HDC dc) = 0;
};

#include "Spooler.h"

#include <winspool.h>

#include <algorithm>

namespace {

class SystemSpooler final : public Spooler {
public:
    BOOL defaultPrinter(std::wstring& name) override {
        DWORD length = 0;
        GetDefaultPrinterW(nullptr, &length);
        if (length == 0) return FALSE;
        std::vector<wchar_t> buffer(length);
        if (!GetDefaultPrinterW(buffer.data(), &length)) return FALSE;
        name = buffer.data();
        return TRUE;
    }

    BOOL openPrinter(const std::wstring& name, HANDLE& printer) override {
        return OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, nullptr);
    }

    BOOL printerDetails(HANDLE printer, PrinterDetails& details) override {
        DWORD needed = 0;
        GetPrinterW(printer, 2, nullptr, 0, &needed);
        std::vector<BYTE> buffer(std::max<DWORD>(needed, sizeof(PRINTER_INFO_2W)));
        if (!GetPrinterW(printer, 2, buffer.data(), DWORD(buffer.size()), &needed)) return FALSE;
        const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
        details.port = info->pPortName ? info->pPortName : L"";
        details.driver = info->pDriverName ? info->pDriverName : L"";
        details.status = info->Status;
        details.attributes = info->Attributes;
        details.devMode.clear();
        if (const DEVMODEW* mode = info->pDevMode) {
            const auto* bytes = reinterpret_cast<const BYTE*>(mode);
            details.devMode.assign(bytes, bytes + mode->dmSize + mode->dmDriverExtra);
        }
        return TRUE;
    }

    BOOL jobStatus(HANDLE printer, DWORD jobId, DWORD& status) override {
        DWORD needed = 0;
        GetJobW(printer, jobId, 1, nullptr, 0, &needed);
        if (needed == 0) return FALSE;
        std::vector<BYTE> buffer(needed);
        if (!GetJobW(printer, jobId, 1, buffer.data(), needed, &needed)) return FALSE;
        status = reinterpret_cast<const JOB_INFO_1W*>(buffer.data())->Status;
        return TRUE;
    }

    BOOL closePrinter(HANDLE printer) override { return ClosePrinter(printer); }

    HDC createDC(const std::wstring& name, const DEVMODEW* devMode) override {
        return CreateDCW(L"WINSPOOL", name.c_str(), nullptr, devMode);
    }
    int deviceCaps(HDC dc, int index) override { return GetDeviceCaps(dc, index); }
    int startDoc(HDC dc, const DOCINFOW& document) override { return StartDocW(dc, &document); }
    int startPage(HDC dc) override { return StartPage(dc); }
    int endPage(HDC dc) override { return EndPage(dc); }
    int endDoc(HDC dc) override { return EndDoc(dc); }
    int abortDoc(HDC dc) override { return AbortDoc(dc); }
    BOOL deleteDC(HDC dc) override { return DeleteDC(dc); }
};

}  // namespace

Spooler& Spooler::system() {
    static SystemSpooler spooler;
    return spooler;
}

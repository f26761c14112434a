// A printer on port FILE: for the file printer test, made Windows' default, and taken away again:
//   file_printer add NAME       adds it with Wine's PostScript driver, makes it the default, and
//                               prints the default it replaced (empty when there was none)
//   file_printer remove NAME [PREVIOUS]   deletes it, and makes PREVIOUS the default again
// A new Wine prefix has no printer driver: Wine's own is added first, its PPD from winspool.drv.
#include <windows.h>

#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

int fail(const char* what) {
    std::fprintf(stderr, "file_printer: %s failed (error %lu)\n", what, GetLastError());
    return 1;
}

std::string utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3 + 1, '\0');
    bytes.resize(size_t(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), bytes.data(),
                                            int(bytes.size()), nullptr, nullptr)));
    return bytes;
}

std::wstring wide(const char* text) {
    std::wstring chars(std::strlen(text) + 1, L'\0');
    chars.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, text, -1, chars.data(), int(chars.size()))));
    if (!chars.empty()) chars.pop_back();  // the terminating zero
    return chars;
}

constexpr const wchar_t* kDriver = L"Wine PostScript Driver";

bool addDriver() {
    wchar_t ppd[MAX_PATH];
    GetTempPathW(MAX_PATH, ppd);
    std::wcscat(ppd, L"quilvane-generic.ppd");
    const HMODULE spooler = LoadLibraryExW(L"winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC resource = spooler ? FindResourceW(spooler, MAKEINTRESOURCEW(1), L"PPDFILE") : nullptr;
    if (!resource) return false;
    const HANDLE file = CreateFileW(ppd, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const DWORD size = SizeofResource(spooler, resource);
    const bool saved = file != INVALID_HANDLE_VALUE &&
                       WriteFile(file, LockResource(LoadResource(spooler, resource)), size, &written, nullptr) &&
                       written == size;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!saved) return false;
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<wchar_t*>(kDriver);
    driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
    driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDataFile = ppd;
    driver.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
    return AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver),
                               APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY);
}

int add(const std::wstring& name) {
    DWORD length = 0;
    GetDefaultPrinterW(nullptr, &length);
    std::vector<wchar_t> previous(length + 1, L'\0');
    if (length && !GetDefaultPrinterW(previous.data(), &length)) previous[0] = L'\0';
    if (!addDriver()) return fail("adding Wine's PostScript driver");
    PRINTER_INFO_2W printer{};
    printer.pPrinterName = const_cast<wchar_t*>(name.c_str());
    printer.pPortName = const_cast<wchar_t*>(L"FILE:");
    printer.pDriverName = const_cast<wchar_t*>(kDriver);
    printer.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    printer.pDatatype = const_cast<wchar_t*>(L"RAW");
    printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    const HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    if (!added) return fail("adding the printer");
    ClosePrinter(added);
    if (!SetDefaultPrinterW(name.c_str())) return fail("making it the default");
    std::printf("%s\n", utf8(previous.data()).c_str());
    return 0;
}

int remove(const std::wstring& name, const std::wstring& previous) {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW rights{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, &rights)) return fail("opening the printer");
    const BOOL deleted = DeletePrinter(printer);
    ClosePrinter(printer);
    if (!deleted) return fail("deleting the printer");
    if (!previous.empty() && !SetDefaultPrinterW(previous.c_str())) return fail("restoring the default");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string verb = argc > 2 ? argv[1] : "";
    if (verb == "add") return add(wide(argv[2]));
    if (verb == "remove") return remove(wide(argv[2]), argc > 3 ? wide(argv[3]) : L"");
    std::fprintf(stderr, "usage: file_printer add NAME | remove NAME [PREVIOUS]\n");
    return 2;
}

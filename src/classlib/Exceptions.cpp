#include "Exceptions.h"

#include <windows.h>

AnsiString SysErrorMessage(unsigned long errorCode)
{
    char* buffer = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, errorCode, 0, reinterpret_cast<char*>(&buffer), 0,
                                  nullptr);
    AnsiString text;
    if (buffer) {
        text.assign(buffer, length);
        LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                             text.back() == '.'))
        text.pop_back();
    if (text.empty())
        text = "System error " + std::to_string(errorCode);
    return text;
}

void RaiseLastOSError()
{
    DWORD code = GetLastError();
    throw EOSError("System Error.  Code: " + std::to_string(code) + ".\r\n" +
                   SysErrorMessage(code));
}

AnsiString ExceptionMessage(std::exception_ptr error)
{
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
    }
    return "Unknown exception";
}

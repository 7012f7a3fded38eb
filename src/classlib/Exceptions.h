// The class library's exception classes.
//
// Exception carries a message in the ANSI code page; the derived classes are
// the ones callers catch by kind (file open and create failures, stream read
// and write errors, conversion errors, invalid operations).
#pragma once

#include "Types.h"

#include <exception>

class Exception : public std::exception
{
public:
    explicit Exception(AnsiString message) : FMessage(std::move(message)) {}
    const AnsiString& Message() const { return FMessage; }
    void SetMessage(const AnsiString& message) { FMessage = message; }
    const char* what() const noexcept override { return FMessage.c_str(); }
    virtual const char* ClassName() const { return "Exception"; }

private:
    AnsiString FMessage;
};

#define ZANDREL_EXCEPTION(Name, Base)                                                              \
    class Name : public Base                                                                       \
    {                                                                                              \
    public:                                                                                        \
        using Base::Base;                                                                          \
        const char* ClassName() const override { return #Name; }                                   \
    }

ZANDREL_EXCEPTION(EAbort, Exception);
ZANDREL_EXCEPTION(EConvertError, Exception);
ZANDREL_EXCEPTION(EInvalidOperation, Exception);
ZANDREL_EXCEPTION(EInvalidPointer, Exception);
ZANDREL_EXCEPTION(EOutOfMemory, Exception);
ZANDREL_EXCEPTION(EListError, Exception);
ZANDREL_EXCEPTION(EStringListError, Exception);
ZANDREL_EXCEPTION(EOSError, Exception);
ZANDREL_EXCEPTION(EThread, Exception);
ZANDREL_EXCEPTION(EStreamError, Exception);
ZANDREL_EXCEPTION(EFileStreamError, EStreamError);
ZANDREL_EXCEPTION(EFOpenError, EFileStreamError);
ZANDREL_EXCEPTION(EFCreateError, EFileStreamError);
ZANDREL_EXCEPTION(EReadError, EStreamError);
ZANDREL_EXCEPTION(EWriteError, EStreamError);
ZANDREL_EXCEPTION(EIniFileException, Exception);
ZANDREL_EXCEPTION(ERegistryException, Exception);
ZANDREL_EXCEPTION(EComponentError, Exception);

// The text of the system's last error, for EOSError and similar messages.
AnsiString SysErrorMessage(unsigned long errorCode);

// Raises EOSError for the calling thread's last system error.
[[noreturn]] void RaiseLastOSError();

// The message of any exception: its own text for library and standard
// exceptions, a fixed text for anything else.
AnsiString ExceptionMessage(std::exception_ptr error);

// Component descriptions in a stream: what a component's published and
// defined properties hold, written and read back (the format is
// PropertyStream's).
//
//   TFiler   what readers and writers share: properties a class defines
//            itself (DefineProperty) and the ancestor written against
//   TReader  reads a description into an existing component: the class
//            must match; each property is looked up among the defined ones
//            first, then among the published ones
//   TWriter  writes a component: the published properties that are stored,
//            not at their default and not equal to the ancestor's, then the
//            defined properties that have data
//
// Windows are built in code, so nothing here creates components or reads
// child lists: a description is one component's properties.
#pragma once

#include "Exceptions.h"
#include "PropertyInfo.h"
#include "PropertyStream.h"
#include "Streams.h"

#include <functional>
#include <vector>

// The message of a value of the wrong type (EReadError).
inline constexpr const char* kInvalidPropertyValue = "Invalid property value";

class TFiler : public TObject
{
public:
    using TReaderProc = std::function<void(TReader&)>;
    using TWriterProc = std::function<void(TWriter&)>;

    // A property of the instance's own: a reader calls ReadData when it
    // meets Name (which must read exactly one value); a writer writes Name
    // and calls WriteData when HasData.
    virtual void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                                const TWriterProc& WriteData, bool HasData) = 0;

    // The object written against (the same class): properties equal to its
    // values are left out. nullptr: none.
    TPersistent* Ancestor() const { return FAncestor; }
    void SetAncestor(TPersistent* value) { FAncestor = value; }

private:
    TPersistent* FAncestor = nullptr; // not owned
};

class TReader : public TFiler
{
public:
    // Reads from the stream's position; after ReadComponent the position is
    // just past the description.
    explicit TReader(TStream* Stream);

    // Reads a description into Instance (csLoading and csReading meanwhile,
    // Loaded at the end). Raises EReadError on a broken description, an
    // unknown property or a value of the wrong type.
    void ReadComponent(TComponent* Instance);

    // For defined properties: the type of the next value, and readers that
    // take it. Both string readers take every string type, converting
    // through the ANSI code page or UTF-8 as needed; a value of another
    // type raises EReadError "Invalid property value".
    TValueType NextValue();
    TStreamValue ReadValue();
    std::int32_t ReadInteger();
    bool ReadBoolean();
    // An identifier; False and True read as their names.
    AnsiString ReadIdent();
    AnsiString ReadString();
    WideString ReadWideString();
    void SkipValue();

    void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                        const TWriterProc& WriteData, bool HasData) override;

private:
    struct TDefinedProperty
    {
        AnsiString Name;
        TReaderProc Read;
    };

    void ReadProperties(TComponent* instance);
    void ReadProperty(TComponent* instance, const AnsiString& name);
    void ReadPublished(TPersistent* instance, const TPropInfo& prop);
    AnsiString ReadName();

    TStream* FStream;                       // not owned
    std::int64_t FStart;                    // the stream's position when made
    std::vector<std::uint8_t> FBytes;       // the rest of the stream
    TMemoryByteSource FSource;              // over FBytes
    TValueScanner FScanner;                 // over FSource
    std::vector<TDefinedProperty> FDefined; // the instance's, while it is read
};

class TWriter : public TFiler
{
public:
    explicit TWriter(TStream* Stream);

    // Writes Instance's description at the stream's position (csWriting
    // meanwhile). Raises EWriteError for a name longer than 255 bytes.
    void WriteComponent(TComponent* Instance);

    // For defined properties: one value each.
    void WriteInteger(std::int32_t value) { FEmitter.WriteInteger(value); }
    void WriteBoolean(bool value) { FEmitter.WriteBoolean(value); }
    void WriteIdent(const AnsiString& name);
    void WriteString(const AnsiString& value) { FEmitter.WriteString(value); }
    // As UTF-8 when that is shorter, else as UTF-16.
    void WriteWideString(const WideString& value);
    // Always as UTF-16.
    void WriteUTF16String(const WideString& value);

    void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                        const TWriterProc& WriteData, bool HasData) override;

private:
    void WriteName(const AnsiString& name);
    void WritePublished(TPersistent* instance, const TPropInfo& prop);
    bool ShouldWrite(TPersistent* instance, const TPropInfo& prop);

    TStream* FStream;       // not owned
    TValueEmitter FEmitter; // the description until it goes to FStream
};

#include "support/DescriptionStream.h"

namespace testing_support {

AnsiString WrittenDescription(TComponent* component, TPersistent* ancestor)
{
    TMemoryStream stream;
    TWriter writer(&stream);
    writer.SetAncestor(ancestor);
    writer.WriteComponent(component);
    return AnsiString(static_cast<const char*>(stream.Memory()),
                      static_cast<size_t>(stream.Size()));
}

void ReadDescription(TComponent* component, const AnsiString& bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.SetPosition(0);
    TReader(&stream).ReadComponent(component);
}

} // namespace testing_support

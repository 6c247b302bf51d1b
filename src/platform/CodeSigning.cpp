#include "platform/CodeSigning.h"

namespace harborlite::platform {

Seam<CodeSigningSource>& codeSigning()
{
    static Seam<CodeSigningSource> seam(
        [] { return CodeSigningSource([](const QString&) { return std::optional<StaticCodeInfo>(); }); });
    return seam;
}

} // namespace harborlite::platform

#include "platform/CryptoLibrary.h"

#include <openssl/crypto.h>

namespace harborlite::platform {

void keepCryptoStateAtExit()
{
    OPENSSL_init_crypto(OPENSSL_INIT_NO_ATEXIT, nullptr);
}

} // namespace harborlite::platform

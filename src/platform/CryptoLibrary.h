#pragma once

namespace harborlite::platform {

// Keeps libcrypto from tearing its state down in an exit handler. Qt's
// network thread can still be ending while the process exits, and its own
// end frees that thread's share of the state a second time (a double free
// at exit). The system takes the memory back at exit anyway. Call it first
// in main, before anything else starts libcrypto: the first start decides.
void keepCryptoStateAtExit();

} // namespace harborlite::platform

#pragma once

#include <functional>

namespace harborlite::test {

// Runs `body` as an ordinary user, so that refused rights are seen: here and now
// when the tests run as one; when they run as root, who opens and reads
// everything, in a child process that runs the current test again acting as
// `nobody` (fixture included) and whose failures, with its output, fail the
// current test here.
void asOrdinaryUser(const std::function<void()>& body);

// Called first by every test executable: in a child asOrdinaryUser() started,
// gives up root for the ordinary user before anything else runs.
void becomeOrdinaryUserWhenAsked();

} // namespace harborlite::test

#pragma once
// COM for the program's thread.
//
// Contract: initializeCom may be called once at start-up; a failure is not
// reported (the engines that need COM fail on their own then).

namespace platform {

void initializeCom();

}  // namespace platform

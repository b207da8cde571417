// Turning the cipher's failures into results and descriptions at the boundary.

#include "ServerGuard.h"

#include "cipher/CipherError.h"

namespace corvid::component {

com::FailureReport describeServerException() {
    try {
        throw;
    } catch (const corvid::CipherError& error) {
        return {com::resultFromErrorNumber(error.number()), com::describeNumberedError(error.number(), error.what())};
    } catch (...) {
        return com::describeStandardException();
    }
}

}  // namespace corvid::component

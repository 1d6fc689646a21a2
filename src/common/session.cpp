#include "common/session.h"

namespace mv {

Session& session()
{
    static Session state;
    return state;
}

} // namespace mv

#include "device/PostMsg.h"

PostMsg* PostMsg::Instance()
{
    static PostMsg* const bus = new PostMsg;
    return bus;
}

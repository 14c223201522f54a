// The host's variant manager: the sub-tool id under which the host runs (0: not a sub-tool). Taken from the
// environment variable "RMX_SUBTOOL_ID" when set to a number, else 0.
#pragma once

extern "C" int RMXVMGetSubToolID();

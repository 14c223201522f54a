// The install-root service. Returns an allocated text (free it with zrvFree): the environment variable
// "ZRV_INSTALL_ROOT" when set, else the folder above the one holding this library. Null when neither is
// known.
#pragma once

extern "C" {
char* zrvGetInstallRoot();
void zrvFree(char* text);
}

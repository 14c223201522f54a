// The header the platform file reaches.
#pragma once

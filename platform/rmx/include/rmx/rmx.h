// The design database: objects, contexts, transactions, server, packaging, pin-name generator
// and bus syntax.
#pragma once

#include "rmx/context.h"
#include "rmx/hmtpi.h"
#include "rmx/packaging.h"
#include "rmx/rmxbase.h"
#include "rmx/schema.h"
#include "rmx/schemautil.h"
#include "rmx/server.h"
#include "rmx/transaction.h"

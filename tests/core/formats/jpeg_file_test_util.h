// The JPEG-file helpers now live with the other format-test helpers.
#pragma once

#include "formats_test_util.h"

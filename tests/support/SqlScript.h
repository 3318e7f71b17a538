#pragma once

#include "data/engine/SqlScript.h"

#include <QString>

// Path of a file of the source tree, e.g. "schema/sqlite/host.sql".
QString sourcePath(const QString& relativePath);

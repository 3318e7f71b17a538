#include "data/VersionAgent.h"

#include "ztfi_version.h"

namespace {

TVersionAgent::Values buildValues()
{
    TVersionAgent::Values values;
    values.companyName = QStringLiteral(ZTFI_VI_COMPANY_NAME);
    values.fileDescription = QStringLiteral(ZTFI_VI_FILE_DESCRIPTION);
    values.fileVersion = QStringLiteral(ZTFI_VI_FILE_VERSION);
    values.internalName = QStringLiteral(ZTFI_VI_INTERNAL_NAME);
    values.legalCopyright = QStringLiteral(ZTFI_VI_LEGAL_COPYRIGHT);
    values.legalTrademarks = QStringLiteral(ZTFI_VI_LEGAL_TRADEMARKS);
    values.originalFilename = QStringLiteral(ZTFI_VI_ORIGINAL_FILENAME);
    values.productName = QStringLiteral(ZTFI_VI_PRODUCT_NAME);
    values.productVersion = QStringLiteral(ZTFI_VI_PRODUCT_VERSION);
    values.comments = QStringLiteral(ZTFI_VI_COMMENTS);
    values.majorVersion = ZTFI_VI_MAJOR;
    values.minorVersion = ZTFI_VI_MINOR;
    values.build = ZTFI_VI_BUILD;
    values.release = ZTFI_VI_RELEASE;
    return values;
}

}  // namespace

TVersionAgent::TVersionAgent() : values_(buildValues()) {}

TVersionAgent::TVersionAgent(const Values& values) : values_(values) {}

QString TVersionAgent::caption() const
{
    return QStringLiteral("ZTFI v") + values_.fileVersion;
}

#pragma once

#include "data/filter/TFilter.h"

// The filter table of the windows: when loaded it also declares the hidden contract-card
// fields (HiddenCardFields.h), except over the contract table POG itself.
class TDMFilter : public TFilter {
    Q_OBJECT

public:
    using TFilter::TFilter;

    void loaded() override;
};

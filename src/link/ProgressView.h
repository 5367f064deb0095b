#pragma once

namespace sonmira::link {

// The progress strip as the link drives it during bulk transfers.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void setProgressValue(int percent) = 0;
};

} // namespace sonmira::link

#pragma once

namespace tt {

// The answer to the overwrite question (Yes/No/Cancel).
enum class OverwriteAnswer { yes, no, cancel };

}  // namespace tt

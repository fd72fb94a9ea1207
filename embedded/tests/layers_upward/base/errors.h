// Errors, at the bottom.

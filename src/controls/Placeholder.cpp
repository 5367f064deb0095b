// Filled by the controls work.

// Filled by the settings work.

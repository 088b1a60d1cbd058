// Shared test helpers live in this folder.

// The engine contract; filled with the engine.

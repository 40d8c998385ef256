// Only the precompiled header is made from this target.

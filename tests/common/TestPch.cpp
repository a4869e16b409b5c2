// Compiled only to make the precompiled GoogleTest header the test programs share.

/**
 * A module that exports and opens nothing, so that reflection from outside
 * cannot make its methods accessible; JNI still reaches them.
 */
module zv.sealed {}

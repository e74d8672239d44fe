// Stands in for the sources of a test program this platform leaves out.

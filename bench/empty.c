/* An empty library: what the floor program loads. */
int pa_bench_nothing(void) { return 0; }

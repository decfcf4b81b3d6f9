TESTS = {}

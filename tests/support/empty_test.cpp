// Stands in for a test folder that has no tests yet.

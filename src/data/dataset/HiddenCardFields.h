#pragma once

class Dataset;

// The contract-card fields of a dataset that shows contracts: when it declares "IdPog" but
// neither "KrtKDD" nor "KrtBIS", the invisible calculated integer fields "IdPogKrtBis" and
// "IdPogKrtKdd" are declared where missing. Nothing computes them; they stay empty.
void addHiddenCardFields(Dataset& dataset);

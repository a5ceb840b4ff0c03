#!/bin/sh
echo "Velmora Billing 1.2.0.7"
